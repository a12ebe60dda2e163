// The fatal-error path: message box through the desktop, then the quit request.
#include "base/fatal.h"

#include "platform/cp1251.h"
#include "platform/desktop.h"

void fatal_error(const char* text) {
    platform::desktop().message_box(text, "Фатальная ошибка"_cp1251, platform::MB_OK);
    // The program ends with a failure code: a fatal error is not a normal end.
    platform::post_quit_message(1);
}
