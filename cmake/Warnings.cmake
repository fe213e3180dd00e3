# vantorel_warnings: the warning set every target of the project builds with.
add_library(vantorel_warnings INTERFACE)
if(MSVC)
    target_compile_options(vantorel_warnings INTERFACE /W4)
else()
    target_compile_options(vantorel_warnings INTERFACE
        -Wall -Wextra -Wundef -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
        -Wshadow -Wpedantic)
endif()
if(VANTOREL_WERROR)
    target_compile_options(vantorel_warnings INTERFACE $<IF:$<CXX_COMPILER_ID:MSVC>,/WX,-Werror>)
endif()
