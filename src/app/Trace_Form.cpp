#include "app/Trace_Form.h"

#include "diagnostics/TraceUnit.h"
#include "qt/Qt_Controls.h"

TTraceForm* TraceForm = nullptr;

TTraceForm::TTraceForm() {
    SetUpWindow(this, "TraceForm", QStringLiteral("       "), QRect(697, 117, 326, 582));
    setAttribute(Qt::WA_QuitOnClose, false);
    MakeLabel(this, "Suivi1_Label", QStringLiteral("suivi 1"), {8, 8});
    MakeLabel(this, "suivi2_Label", QStringLiteral("suivi 2"), {152, 8});
    MakeLabel(this, "Suivi3_Label", QStringLiteral("suivi 3"), {240, 8});
    MakeLabel(this, "Suivi4_Label", QStringLiteral("suivi 4"), {8, 32});
    MakeLabel(this, "Suivi5_Label", QStringLiteral("suivi 5"), {152, 32});
    MakeLabel(this, "Suivi6_Label", QStringLiteral("suivi 6"), {264, 32});
    MakeLabel(this, "Suivi7_Label", QStringLiteral("suivi 7"), {8, 56});
    MakeLabel(this, "Suivi8_Label", QStringLiteral("suivi 8"), {152, 56});
    MakeLabel(this, "Suivi9_Label", QStringLiteral("suivi 9"), {256, 64});
    RichEdit1 = MakeMemo(this, "RichEdit1", QRect(8, 96, 297, 441), TScrollBars::Both);
    TraceForm = this;
    FormCreate();
}

TTraceForm::~TTraceForm() {
    Messenger.AttachTrace(nullptr);
    if (TraceForm == this) TraceForm = nullptr;
}

void TTraceForm::FormCreate() {
    hide();
    Messenger.AttachTrace(RichEdit1);
    show();
}
