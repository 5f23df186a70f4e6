#include "platform/Text_Display.h"

void ITextDisplay::DeleteFirst(int count) {
    for (int i = 0; i < count && Count() > 0; ++i) Delete(0);
}
