#include "app/Chrono_Form.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QValueAxis>
#include <algorithm>

#include "base/Real_Format.h"
#include "diagnostics/Chrono_Unit.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Message_Box.h"
#include "qt/Text_Codec.h"

TChronoForm* ChronoForm = nullptr;

namespace {

QChartView* MakeChart(QWidget* parent, const char* name, QRect geometry) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("TChart"));
    chart->legend()->hide();
    // Small charts: thin margins, so that the plot keeps most of the room.
    chart->setMargins(QMargins(2, 0, 2, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    // The back wall: white, not filled.
    chart->setPlotAreaBackgroundVisible(false);
    chart->setPlotAreaBackgroundPen(QPen(Qt::white));
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setGeometry(geometry);
    return view;
}

// One bar set of `color` with its value marks, a category axis along `categoryEdge`
// and a value axis along `valueEdge`.
void SetUpBars(QAbstractBarSeries* series, QChart* chart, const QString& setName,
               const QString& categoryName, QColor color, Qt::Alignment categoryEdge,
               Qt::Alignment valueEdge) {
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    auto* bars = new QBarSet(setName);
    bars->setColor(color);
    bars->setLabelColor(Qt::black);
    series->append(bars);
    chart->addSeries(series);
    // The axes carry the values' names without showing them, as the charts have
    // no room to spare.
    auto* categories = new QBarCategoryAxis;
    categories->setTitleText(categoryName);
    categories->setTitleVisible(false);
    auto* values = new QValueAxis;
    values->setTitleText(setName);
    values->setTitleVisible(false);
    values->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(categories, categoryEdge);
    chart->addAxis(values, valueEdge);
    series->attachAxis(categories);
    series->attachAxis(values);
}

// Puts one value per section into the series' one bar set, with `names` as
// categories; the value axis leaves room beyond the longest bar for its mark.
void ShowBars(QAbstractBarSeries* series, const QStringList& names, const QList<qreal>& values) {
    QBarSet* bars = series->barSets().first();
    bars->remove(0, bars->count());
    bars->append(values);
    for (QAbstractAxis* axis : series->attachedAxes()) {
        if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis)) {
            categories->clear();
            categories->append(names);
        } else if (auto* range = qobject_cast<QValueAxis*>(axis)) {
            const qreal top =
                values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());
            range->setRange(0, top > 0 ? top * 1.25 : 1);
            range->applyNiceNumbers();
            // Three marks: the small chart has no room for more.
            range->setTickType(QValueAxis::TicksDynamic);
            range->setTickAnchor(0);
            range->setTickInterval(range->max() / 2);
        }
    }
}

}  // namespace

TChronoForm::TChronoForm() {
    SetUpWindow(this, "ChronoForm", QStringLiteral("Profiler"), QRect(14, 471, 800, 272));
    setAttribute(Qt::WA_QuitOnClose, false);
    Chrono_Memo = MakeMemo(this, "Chrono_Memo", QRect(8, 8, 241, 89), TScrollBars::None);
    Chrono_Quit_Button =
        MakeButton(this, "Chrono_Quit_Button", QStringLiteral("&Quit"), QRect(256, 8, 25, 41));
    connect(Chrono_Quit_Button, &QPushButton::clicked, this, &TChronoForm::Chrono_Quit_ButtonClick);

    // The call counts: a flat chart with one bar series of red bars whose value
    // marks show above them. Qt's charts draw no 3D view and no mark arrows; the
    // marks sit outside the bar ends instead.
    Chrono_NbCalls_Chart = MakeChart(this, "Chrono_NbCalls_Chart", QRect(8, 104, 265, 129));
    Series1 = new QBarSeries;
    Series1->setObjectName(QStringLiteral("Series1"));
    SetUpBars(Series1, Chrono_NbCalls_Chart->chart(), QStringLiteral("Histo. "),
              QStringLiteral("X "), Qt::red, Qt::AlignBottom, Qt::AlignLeft);

    // The total time by section: horizontal bars, so that the section names read
    // along the left side, the first at the top as in the memo.
    Chrono_FuncByTime_Chart = MakeChart(this, "Chrono_FuncByTime_Chart", QRect(336, 8, 369, 217));
    FuncByTime_Series = new QHorizontalBarSeries;
    FuncByTime_Series->setObjectName(QStringLiteral("FuncByTime_Series"));
    SetUpBars(FuncByTime_Series, Chrono_FuncByTime_Chart->chart(), QStringLiteral("ms"), QString(),
              QColor(0, 0, 128), Qt::AlignLeft, Qt::AlignBottom);
    SetAfterHandler([this] { RefreshIfShown(); });
}

TChronoForm::~TChronoForm() {
    SetAfterHandler({});
}

void TChronoForm::Chrono_Quit_ButtonClick() {
    close();
}

void TChronoForm::ShowProfile() {
    Refresh();
    show();
    raise();
    activateWindow();
}

void TChronoForm::Refresh() {
    const TChronoTable& table = ChronoTable();
    fShownRevision = table.Revision();
    std::vector<std::string> lines;
    // The small calls chart numbers the sections; the time chart, which has room
    // for the names, gives each number its name.
    QStringList numbers;
    QStringList names;
    QList<qreal> calls;
    QList<qreal> totals;
    for (const TSectionTimes& s : table.Sections()) {
        numbers << QString::number(numbers.size() + 1);
        lines.push_back(s.fSection + " : " + IntToStr(s.fCalls) + " calls, total " +
                        FloatToStr(s.TotalMs()) + " ms, mean " + FloatToStr(s.MeanMs()) +
                        " ms, max " + FloatToStr(s.GreatestMs()) + " ms");
        names << numbers.back() + QLatin1Char(' ') + ToQt(s.fSection);
        calls << qreal(s.fCalls);
        totals << s.TotalMs();
    }
    Chrono_Memo->Assign(lines);
    ShowBars(Series1, numbers, calls);
    // Horizontal bars run from the bottom up.
    std::reverse(names.begin(), names.end());
    std::reverse(totals.begin(), totals.end());
    ShowBars(FuncByTime_Series, names, totals);
}

void TChronoForm::RefreshIfShown() {
    if (isVisible() && ChronoTable().Revision() != fShownRevision) Refresh();
}
