#include "app/Window_Places.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

namespace {

QString Key(const QWidget* window, const char* what) {
    return QStringLiteral("Windows/%1/%2").arg(window->objectName(), QLatin1String(what));
}

// The room between the main window and the trace at the first start: more than
// a window manager's frame on both sides.
constexpr int kGapBeside = 24;

// Restores a window's saved geometry, moved inside the screen it lands on; false
// when nothing is saved.
bool RestoreGeometry(QSettings& settings, QWidget* window) {
    const QByteArray geometry = settings.value(Key(window, "geometry")).toByteArray();
    if (geometry.isEmpty() || !window->restoreGeometry(geometry)) return false;
    // restoreGeometry keeps a window whose title bar stays reachable; this keeps
    // the whole window inside the screen when it fits there.
    const QScreen* screen = QGuiApplication::screenAt(window->geometry().center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return true;
    const QRect room = screen->availableGeometry();
    QRect place = window->geometry();
    if (place.width() <= room.width())
        place.moveLeft(std::clamp(place.left(), room.left(), room.right() - place.width() + 1));
    if (place.height() <= room.height())
        place.moveTop(std::clamp(place.top(), room.top(), room.bottom() - place.height() + 1));
    if (place != window->geometry()) window->setGeometry(place);
    return true;
}

void PlaceBeside(const QWidget* main, QWidget* window) {
    const QScreen* screen = main->screen();
    QRect place = window->geometry();
    place.moveTo(main->geometry().right() + 1 + kGapBeside, main->geometry().top());
    if (!screen || screen->availableGeometry().contains(place)) window->setGeometry(place);
}

void RestoreShown(QSettings& settings, QWidget* window) {
    const QVariant shown = settings.value(Key(window, "shown"));
    if (shown.isValid()) window->setVisible(shown.toBool());
}

}  // namespace

void RestoreWindowPlaces(QWidget* main, QWidget* beside, const std::vector<QWidget*>& others) {
    QSettings settings;
    RestoreGeometry(settings, main);
    if (!RestoreGeometry(settings, beside)) PlaceBeside(main, beside);
    RestoreShown(settings, beside);
    for (QWidget* window : others) {
        RestoreGeometry(settings, window);
        RestoreShown(settings, window);
    }
}

void SaveWindowPlaces(const std::vector<QWidget*>& windows) {
    QSettings settings;
    for (const QWidget* window : windows) {
        settings.setValue(Key(window, "geometry"), window->saveGeometry());
        settings.setValue(Key(window, "shown"), window->isVisible());
    }
}
