// The profiling window: a memo, a Quit button and two charts that stand ready to
// show call counts and times. The profiler records nothing, so they stay empty.
#pragma once

#include <QChartView>
#include <QBarSeries>
#include <QPushButton>
#include <QWidget>

#include "qt/Qt_Memo.h"

class TChronoForm : public QWidget {
    Q_OBJECT
public:
    TChronoForm();
    ~TChronoForm() override;

    TMemo* Chrono_Memo;
    QPushButton* Chrono_Quit_Button;
    QChartView* Chrono_NbCalls_Chart;
    QBarSeries* Series1;
    QChartView* Chrono_FuncByTime_Chart;

    void Chrono_Quit_ButtonClick();
};

extern TChronoForm* ChronoForm;
