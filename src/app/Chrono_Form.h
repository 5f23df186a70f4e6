// The profiling window: a memo that lists every timed section (calls, total,
// mean and greatest time), a Quit button, the calls per section as red bars, and
// the total time per section. Hidden at start-up; F12 in the main window shows
// it, and while it is shown it follows every handler that times a section. The
// two charts share the room the window gains; a bar's tool tip names its section
// in full.
#pragma once

#include <QBarSeries>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QPushButton>
#include <QWidget>
#include <cstdint>

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
    // The total time of each section, in milliseconds.
    QHorizontalBarSeries* FuncByTime_Series;

    void Chrono_Quit_ButtonClick();
    // Shows the window in front with the figures of now.
    void ShowProfile();
    // Reads the process-wide table of sections into the memo and the charts.
    void Refresh();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // After every handler: a shown window whose figures changed refreshes.
    void RefreshIfShown();
    // The time chart's section names, shortened to the room its axis may take.
    QStringList ShownSectionNames() const;
    uint64_t fShownRevision = 0;
    // Per section, in the table's order: its number and name, and the tool tips
    // of its two bars.
    QStringList fNames;
    QStringList fCallsTips;
    QStringList fTimeTips;
};

// The window while it exists; set and cleared by its owner (TProgramWindows).
extern TChronoForm* ChronoForm;
