#include "app/Chrono_Form.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>

#include "base/Real_Format.h"
#include "diagnostics/Chrono_Unit.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Design_Layout.h"
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

QBarCategoryAxis* CategoriesOf(QAbstractBarSeries* series) {
    for (QAbstractAxis* axis : series->attachedAxes())
        if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis)) return categories;
    return nullptr;
}

void SetCategories(QAbstractBarSeries* series, const QStringList& names) {
    QBarCategoryAxis* categories = CategoriesOf(series);
    if (categories->categories() == names) return;
    categories->clear();
    categories->append(names);
}

// Puts one value per section into the series' one bar set, with `names` as
// categories; the value axis leaves room beyond the longest bar for its mark.
void ShowBars(QAbstractBarSeries* series, const QStringList& names, const QList<qreal>& values) {
    QBarSet* bars = series->barSets().first();
    bars->remove(0, bars->count());
    bars->append(values);
    SetCategories(series, names);
    for (QAbstractAxis* axis : series->attachedAxes()) {
        if (auto* range = qobject_cast<QValueAxis*>(axis)) {
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

// While the pointer rests on a bar, its tool tip shows.
void ShowToolTips(QAbstractBarSeries* series, QChartView* view, const QStringList& tips) {
    QObject::connect(series, &QAbstractBarSeries::hovered, view,
                     [view, &tips](bool inside, int index) {
                         if (inside && index >= 0 && index < tips.size())
                             QToolTip::showText(QCursor::pos(), tips[index], view);
                         else
                             QToolTip::hideText();
                     });
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
    // Qt's charts would cut every name short once a row is less than about twice
    // the font's height (with eight sections at this size); a row of one line's
    // height reads well, and the names are shortened to their axis' room here.
    CategoriesOf(FuncByTime_Series)->setTruncateLabels(false);
    ShowToolTips(Series1, Chrono_NbCalls_Chart, fCallsTips);
    ShowToolTips(FuncByTime_Series, Chrono_FuncByTime_Chart, fTimeTips);

    // The memo and the button keep their places; the charts share what the
    // window gains in width, in about the ratio of their widths, and grow with
    // its height.
    auto* layout = new TDesignLayout(this);
    layout->Follow(Chrono_NbCalls_Chart, {0, 0.4, 0, 1});
    layout->Follow(Chrono_FuncByTime_Chart, {0.4, 0.6, 0, 1});
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
    QList<qreal> calls;
    QList<qreal> totals;
    fNames.clear();
    fCallsTips.clear();
    fTimeTips.clear();
    for (const TSectionTimes& s : table.Sections()) {
        const std::string callText = IntToStr(s.fCalls) + " calls";
        const std::string totalText = FloatToStr(s.TotalMs()) + " ms";
        numbers << QString::number(numbers.size() + 1);
        lines.push_back(s.fSection + " : " + callText + ", total " + totalText + ", mean " +
                        FloatToStr(s.MeanMs()) + " ms, max " + FloatToStr(s.GreatestMs()) + " ms");
        fNames << numbers.back() + QLatin1Char(' ') + ToQt(s.fSection);
        fCallsTips << fNames.back() + QStringLiteral(": ") + ToQt(callText);
        fTimeTips << fNames.back() + QStringLiteral(": ") + ToQt(totalText + " in " + callText);
        calls << qreal(s.fCalls);
        totals << s.TotalMs();
    }
    Chrono_Memo->Assign(lines);
    ShowBars(Series1, numbers, calls);
    // Horizontal bars run from the bottom up.
    std::reverse(totals.begin(), totals.end());
    std::reverse(fTimeTips.begin(), fTimeTips.end());
    ShowBars(FuncByTime_Series, ShownSectionNames(), totals);
}

// A name takes at most a third of its chart's width; a longer one ends in an
// ellipsis, its bar's tool tip giving it whole. The first section is at the top.
QStringList TChronoForm::ShownSectionNames() const {
    const QFontMetrics metrics(CategoriesOf(FuncByTime_Series)->labelsFont());
    const int room = Chrono_FuncByTime_Chart->width() / 3;
    QStringList shown;
    for (auto name = fNames.crbegin(); name != fNames.crend(); ++name)
        shown << metrics.elidedText(*name, Qt::ElideRight, room);
    return shown;
}

void TChronoForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SetCategories(FuncByTime_Series, ShownSectionNames());
}

void TChronoForm::RefreshIfShown() {
    if (isVisible() && ChronoTable().Revision() != fShownRevision) Refresh();
}
