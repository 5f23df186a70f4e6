#include "app/Chrono_Form.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QValueAxis>

#include "qt/Qt_Controls.h"

TChronoForm* ChronoForm = nullptr;

namespace {

QChartView* MakeChart(QWidget* parent, const char* name, QRect geometry) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("TChart"));
    chart->legend()->hide();
    // The back wall: white, not filled.
    chart->setPlotAreaBackgroundVisible(false);
    chart->setPlotAreaBackgroundPen(QPen(Qt::white));
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setGeometry(geometry);
    return view;
}

}  // namespace

TChronoForm::TChronoForm() {
    SetUpWindow(this, "ChronoForm", QStringLiteral("ChronoForm"), QRect(14, 471, 800, 272));
    setAttribute(Qt::WA_QuitOnClose, false);
    Chrono_Memo = MakeMemo(this, "Chrono_Memo", QRect(8, 8, 241, 89), TScrollBars::None);
    Chrono_Quit_Button = MakeButton(this, "Chrono_Quit_Button", QStringLiteral("&Quit"), QRect(256, 8, 25, 41));
    connect(Chrono_Quit_Button, &QPushButton::clicked, this, &TChronoForm::Chrono_Quit_ButtonClick);

    // The call counts: a flat chart with one bar series of red bars whose value
    // marks show above them. Qt's charts draw no 3D view and no mark arrows; the
    // marks sit outside the bar ends instead.
    Chrono_NbCalls_Chart = MakeChart(this, "Chrono_NbCalls_Chart", QRect(8, 104, 265, 129));
    Series1 = new QBarSeries;
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->setLabelsVisible(true);
    Series1->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    auto* bars = new QBarSet(QStringLiteral("Histo. "));
    bars->setColor(Qt::red);
    Series1->append(bars);
    QChart* chart = Chrono_NbCalls_Chart->chart();
    chart->addSeries(Series1);
    auto* xAxis = new QBarCategoryAxis;
    xAxis->setTitleText(QStringLiteral("X "));
    auto* yAxis = new QValueAxis;
    yAxis->setTitleText(QStringLiteral("Histo. "));
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    Series1->attachAxis(xAxis);
    Series1->attachAxis(yAxis);

    // The functions by time: a chart without series.
    Chrono_FuncByTime_Chart = MakeChart(this, "Chrono_FuncByTime_Chart", QRect(336, 8, 369, 217));
    ChronoForm = this;
}

TChronoForm::~TChronoForm() {
    if (ChronoForm == this) ChronoForm = nullptr;
}

void TChronoForm::Chrono_Quit_ButtonClick() { close(); }
