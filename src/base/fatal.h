// The one path for unrecoverable failures: a modal message box captioned
// "Фатальная ошибка", then a request to end the message loop with exit code 1.
#pragma once

// Shows text (Windows-1251) in a modal message box, then asks the message loop to
// end with exit code 1, and returns; the program ends when the loop next looks.
void fatal_error(const char* text);
