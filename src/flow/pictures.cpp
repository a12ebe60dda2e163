// The screen pictures' one instance.
#include "flow/pictures.h"

namespace flow {

ScreenPictures& screen_pictures() {
    static ScreenPictures pictures;
    return pictures;
}

}  // namespace flow
