#include "app/Application.h"

#include <QFont>

#include "app/Chrono_Form.h"
#include "app/Debug_Manager_Unit.h"
#include "app/Kavelin_Unit.h"
#include "app/MyDatabase_Form.h"
#include "app/Trace_Form.h"
#include "common/Random_Source.h"
#include "common/Real_Format.h"
#include "qt/Pulse_Sound_Device.h"
#include "qt/Qt_Locale.h"
#include "qt/Qt_Message_Box.h"
#include "qt/Qt_Picture_Reader.h"

void InitApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Kavelin"));
    QApplication::setOrganizationName(QStringLiteral("Kavelin"));
    QFont font(QStringLiteral("Liberation Sans"), 8);
    font.setStyleHint(QFont::SansSerif);
    app.setFont(font);
    InitDecimalSeparatorFromLocale();
    InitFixedSeedFromEnvironment();
    static TQtMessageBox messageBox;
    SetMessageBox(&messageBox);
    InstallPulseSoundServer();
    InstallQtPictureReader();
}

void CreateWindows() {
    (new TKavelin_Form)->show();
    new TChronoForm;
    new TMyDatabase_Form;
    new TDebug_Form;
    new TTraceForm;
}

void DestroyWindows() {
    delete TraceForm;
    delete Debug_Form;
    delete MyDatabase_Form;
    delete ChronoForm;
    delete Kavelin_Form;
}
