# With VANTOREL_SANITIZE every target is built and linked with ASan and UBSan,
# and any undefined behaviour ends the test that hit it.
if(VANTOREL_SANITIZE)
    set(_vantorel_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${_vantorel_san})
    add_link_options(-fsanitize=address,undefined)
endif()
