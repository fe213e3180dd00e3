#include "platform/win32/rcgen/ProgramResources.h"

#include "platform/ProgramIconImages.h"

namespace vantorel::win32::rcgen {

std::vector<IconPixels> ProgramIcon() {
    std::vector<IconPixels> images;
    for (const IconImage& image : ProgramIconImages()) {
        images.push_back({image.size, image.rgba});
    }
    return images;
}

}  // namespace vantorel::win32::rcgen
