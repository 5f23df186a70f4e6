#include "app/Application.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QIcon>

#include "app/Window_Places.h"
#include "base/Real_Format.h"
#include "common/Random_Source.h"
#include "platform/Data_Folder.h"
#include "qt/Pulse_Sound_Device.h"
#include "qt/Qt_Data_Folder.h"
#include "qt/Qt_Locale.h"
#include "qt/Qt_Picture_Reader.h"

// The X protocol's DestroyNotify event: code 17, the window at byte 8.
bool TDestroyedMainWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                                  qintptr*) {
    struct TDestroyNotify {
        uint8_t responseType, unused;
        uint16_t sequence;
        uint32_t event, window;
    };
    if (eventType != "xcb_generic_event_t" || !Kavelin_Form) return false;
    const auto* event = static_cast<const TDestroyNotify*>(message);
    if ((event->responseType & 0x7F) != 17 || !Kavelin_Form->isVisible() ||
        event->window != Kavelin_Form->internalWinId())
        return false;
    QMetaObject::invokeMethod(Kavelin_Form, &TKavelin_Form::CloseWithoutAsking,
                              Qt::QueuedConnection);
    return false;
}

TProgramServices::TProgramServices(QApplication& app) : fApp(app) {
    app.installNativeEventFilter(&fMainWindowWatch);
    QApplication::setApplicationName(QStringLiteral("Kavelin"));
    QApplication::setOrganizationName(QStringLiteral("Kavelin"));
    // The classic 8-point font is a narrow bitmap face; this metric sans-serif fits
    // the layout's captions beside their controls at 10 pixels (7.5 points on a
    // 96 dpi screen), given in pixels since every position is.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(10);
    font.setStyleHint(QFont::SansSerif);
    app.setFont(font);
    QApplication::setApplicationVersion(QStringLiteral(KAVELIN_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kavelin.png")));
    InitDecimalSeparatorFromLocale();
    InitFixedSeedFromEnvironment();
    SetMessageBox(&fMessageBox);
    // An installed program started away from any Data/ folder works in the user's.
    std::string problem;
    const std::string folder = InstalledWorkFolder(UserDataFolder(), problem);
    if (!folder.empty()) QDir::setCurrent(QFile::decodeName(folder.c_str()));
    if (!problem.empty()) ShowMessageBox(problem);
    InstallPulseSoundServer();
    InstallQtPictureReader();
}

TProgramServices::~TProgramServices() {
    if (CurrentMessageBox() == &fMessageBox) SetMessageBox(nullptr);
    fApp.removeNativeEventFilter(&fMainWindowWatch);
}

TProgramWindows::TProgramWindows() {
    {
        // Started away from any Data/ folder: one box says so and how to start the
        // program, instead of one per file that the main window's creation reads.
        const TMissingDataStart missingData(UserDataFolder());
        fMain.Make();
    }
    fChrono.Make();
    fDatabase.Make();
    fDebug.Make();
    fTrace.Make();
    // The windows stand where they stood at the last exit; the main window shows
    // last, in front and active, with the focus on its page control, so that a
    // key pressed at once presses no button.
    RestoreWindowPlaces(Kavelin_Form, TraceForm, {ChronoForm, MyDatabase_Form, Debug_Form});
    Kavelin_Form->show();
    Kavelin_Form->raise();
    Kavelin_Form->activateWindow();
    Kavelin_Form->PageControl1->FocusCurrentTab();
}
