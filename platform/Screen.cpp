#include "platform/Control.h"

#include <QGuiApplication>
#include <QScreen>

namespace mycad {

int32_t TScreen::PixelsPerInch()
{
    // Font heights and page sizes follow this figure, so it stays 96 unless a
    // real screen reports otherwise.
    if (!qGuiApp) return 96;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 96;
    const int32_t ppi = RoundToInt(screen->logicalDotsPerInch());
    return ppi > 0 ? ppi : 96;
}

} // namespace mycad
