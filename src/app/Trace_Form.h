// The trace window: nine labels and the rich edit that holds the trace. Its
// creation attaches the Messenger to the rich edit, so from then on every line
// the engines report shows here. Closing it only hides it.
#pragma once

#include <QLabel>
#include <QWidget>

#include "qt/Qt_Memo.h"

class TTraceForm : public QWidget {
    Q_OBJECT
public:
    TTraceForm();
    ~TTraceForm() override;

    TMemo* RichEdit1;

private:
    void FormCreate();
};

extern TTraceForm* TraceForm;
