// Walks the layout tables (tests/data/layout.json) and checks every control of
// every window: its object name, kind, caption, geometry and defaults.
#include <QBarSeries>
#include <QChartView>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QtTest>

#include "app/Chrono_Form.h"
#include "app/Debug_Manager_Unit.h"
#include "app/MyDatabase_Form.h"
#include "app/Trace_Form.h"
#include "qt/Qt_Page_Control.h"
#include "qt/Qt_Picture.h"
#include "qt/Qt_String_Grid.h"
#include "qt/Qt_Up_Down.h"
#include "support/Window_Fixture.h"

namespace {

QRect RectOf(const QJsonValue& value) {
    const QJsonArray a = value.toArray();
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

QWidget* WindowNamed(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT
    TWindowFixture* fFixture = nullptr;
    QJsonObject fLayout;
    int fChecked = 0;

    // Checks one control of the table inside `root`.
    void CheckControl(QWidget* root, const QJsonObject& c) {
        const QString names = c["control"].toString();
        const QString kind = c["kind"].toString();
        const QJsonArray geometry = c["geometry"].toArray();
        const QString text = c["text"].isNull() ? QString() : c["text"].toString();
        const QString context = root->objectName() + "/" + names;
        ++fChecked;

        if (kind.startsWith("bar series")) {
            QVERIFY2(ChronoForm->Series1 && ChronoForm->Series1->objectName() == names,
                     qPrintable(context));
            return;
        }
        if (kind.startsWith("edit and up-down")) {
            const QStringList parts = names.split(" with ");
            auto* edit = root->findChild<QLineEdit*>(parts[0]);
            auto* upDown = root->findChild<TUpDown*>(parts[1]);
            QVERIFY2(edit && upDown, qPrintable(context));
            QCOMPARE(edit->geometry(), RectOf(geometry[0]));
            QCOMPARE(upDown->geometry(), RectOf(geometry[1]));
            QCOMPARE(upDown->Associate(), edit);
            QCOMPARE(edit->text(), text);
            QCOMPARE(int(upDown->Position()), text.toInt());
            QCOMPARE(upDown->Min(), 0);
            QCOMPARE(upDown->Max(), 100);
            const QString box = kind.section(" in ", 1);
            QCOMPARE(edit->parentWidget()->objectName(), box);
            return;
        }
        QWidget* w = root->findChild<QWidget*>(names);
        QVERIFY2(w, qPrintable("missing " + context));
        const QRect expected = geometry[0].toArray().size() == 4 ? RectOf(geometry[0]) : QRect();
        if (kind.startsWith("label")) {
            auto* label = qobject_cast<QLabel*>(w);
            QVERIFY2(label, qPrintable(context));
            QCOMPARE(label->text(), text);
            const QJsonArray at = geometry[0].toArray();
            QCOMPARE(label->pos(), QPoint(at[0].toInt(), at[1].toInt()));
            if (kind.contains(" in "))
                QCOMPARE(label->parentWidget()->objectName(), kind.section(" in ", 1));
            return;
        }
        QCOMPARE(w->geometry(), expected);
        if (kind.contains("button")) {
            // A button with no work (no handler, or one that does nothing) shows it:
            // disabled, saying so in its tooltip. "&Check Integrity" is to get work.
            const bool idle = (c["event"].toString() == "none" && !kind.contains("hidden")) ||
                              names == "nnetwork_test_button";
            QVERIFY2(w->isEnabled() != idle, qPrintable(context));
            QCOMPARE(w->toolTip().endsWith("Not available in this version"), idle);
        }
        if (kind.startsWith("button")) {
            auto* button = qobject_cast<QPushButton*>(w);
            QVERIFY2(button, qPrintable(context));
            QCOMPARE(button->text(), text);
            QCOMPARE(button->isHidden(), kind.contains("hidden"));
        } else if (kind.startsWith("edit")) {
            auto* edit = qobject_cast<QLineEdit*>(w);
            QVERIFY2(edit, qPrintable(context));
            QCOMPARE(edit->text(), text);
            QCOMPARE(edit->isReadOnly(), kind.contains("read-only"));
        } else if (kind.startsWith("memo") || kind.contains("rich")) {
            auto* memo = qobject_cast<TMemo*>(w);
            QVERIFY2(memo, qPrintable(context));
            const QString written = c["as_written"].toString();
            if (written.startsWith("one line"))
                QCOMPARE(memo->QtLines(), QStringList{written.section('"', 1, 1)});
            else
                QCOMPARE(memo->Count(), 0);
            const bool both = kind.contains("both scroll bars");
            const bool vertical = both || kind.contains("vertical scroll bar");
            QCOMPARE(memo->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn, vertical);
            QCOMPARE(memo->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn, both);
            if (kind.contains("read-only")) QVERIFY(memo->isReadOnly());
            if (kind.contains("editable")) QVERIFY(!memo->isReadOnly());
        } else if (kind.startsWith("group box")) {
            auto* box = qobject_cast<QGroupBox*>(w);
            QVERIFY2(box, qPrintable(context));
            QCOMPARE(box->title(), text);
        } else if (kind.startsWith("picture")) {
            QVERIFY2(qobject_cast<TPictureControl*>(w), qPrintable(context));
        } else if (kind.startsWith("string grid")) {
            auto* grid = qobject_cast<TStringGridControl*>(w);
            QVERIFY2(grid, qPrintable(context));
            QCOMPARE(grid->FixedRows(), 1);
            QCOMPARE(grid->FixedCols(), 1);
            const QString written = c["as_written"].toString() + kind;
            if (written.contains("five rows and five columns")) {
                QCOMPARE(grid->RowCount(), 5);
                QCOMPARE(grid->ColCount(), 5);
            }
            if (written.contains("row heights 24, 24, 24, 13, 24"))
                for (int row = 0; row < 5; ++row)
                    QCOMPARE(grid->rowHeight(row), row == 3 ? 13 : 24);
            if (written.contains("4 columns of widths 64, 75, 258 and 68")) {
                QCOMPARE(grid->ColCount(), 4);
                const int widths[] = {64, 75, 258, 68};
                for (int col = 0; col < 4; ++col) QCOMPARE(grid->columnWidth(col), widths[col]);
            }
        } else if (kind.startsWith("speed button")) {
            auto* button = qobject_cast<QToolButton*>(w);
            QVERIFY2(button, qPrintable(context));
            QCOMPARE(button->toolTip().section('\n', 0, 0), kind.section('"', 1, 1));
            QVERIFY(!button->icon().isNull());
        } else if (kind.startsWith("page control")) {
            QVERIFY2(qobject_cast<TPageControl*>(w), qPrintable(context));
        } else if (kind.startsWith("chart")) {
            auto* view = qobject_cast<QChartView*>(w);
            QVERIFY2(view, qPrintable(context));
            QCOMPARE(view->chart()->title(), QStringLiteral("TChart"));
        } else {
            QFAIL(qPrintable("unknown kind " + kind + " for " + context));
        }
    }

  private slots:
    void initTestCase() {
        QFile file(QStringLiteral(KAVELIN_TEST_DATA "/layout.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        fLayout = QJsonDocument::fromJson(file.readAll()).object();
        QVERIFY(!fLayout.isEmpty());
        fFixture = new TWindowFixture;
    }
    void cleanupTestCase() { delete fFixture; }

    // The trace and the profiler carry titles that a window list can show, in
    // place of the table's seven blanks and "ChronoForm"; their names stay.
    void windowsHaveTheirCaptionsAndGeometry() {
        const QHash<QString, QString> retitled{{"TraceForm", "Trace"}, {"ChronoForm", "Profiler"}};
        for (const QString& name : fLayout.keys()) {
            const QJsonObject window = fLayout[name].toObject();
            QWidget* w = WindowNamed(name);
            QVERIFY2(w, qPrintable("missing window " + name));
            QCOMPARE(w->windowTitle(), retitled.value(name, window["caption"].toString()));
            const QRect expected(window["left"].toInt(), window["top"].toInt(),
                                 window["width"].toInt(), window["height"].toInt());
            // The main window's layout is the area between its menu bar and its
            // status bar; the window grows by the two bars.
            if (auto* main = qobject_cast<QMainWindow*>(w)) {
                QCOMPARE(main->geometry().topLeft(), expected.topLeft());
                QCOMPARE(main->centralWidget()->size(), expected.size());
                QCOMPARE(main->centralWidget()->y(), main->menuBar()->height());
                QCOMPARE(main->height(), expected.height() + main->menuBar()->height() +
                                             main->statusBar()->height());
                // It cannot be made smaller than that.
                const QSize size = main->size();
                main->resize(200, 200);
                QCOMPARE(main->size(), size);
            } else {
                QCOMPARE(w->geometry(), expected);
            }
        }
        QCOMPARE(TraceForm->windowTitle(), QStringLiteral("Trace"));
        QCOMPARE(ChronoForm->windowTitle(), QStringLiteral("Profiler"));
    }

    void everyControlMatchesItsTable() {
        for (const QString& name : fLayout.keys()) {
            const QJsonObject window = fLayout[name].toObject();
            QWidget* w = WindowNamed(name);
            QVERIFY(w);
            for (const QJsonValue& c : window["controls"].toArray()) CheckControl(w, c.toObject());
            const QJsonObject pages = window["pages"].toObject();
            for (const QString& page : pages.keys()) {
                const QJsonArray tabs = window["tabs"].toArray();
                QString pageName;
                for (const QJsonValue& t : tabs)
                    if (t["caption"].toString() == page) pageName = t["page"].toString();
                QWidget* pageWidget = w->findChild<QWidget*>(pageName);
                QVERIFY2(pageWidget, qPrintable("missing page " + page));
                for (const QJsonValue& c : pages[page].toArray())
                    CheckControl(pageWidget, c.toObject());
            }
        }
        QVERIFY(fChecked > 80);
    }

    void pagesComeInTabOrderAndStartOnTheNetworkPage() {
        const QJsonArray tabs = fLayout["Kavelin_Form"].toObject()["tabs"].toArray();
        TPageControl* pages = Kavelin_Form->PageControl1;
        QCOMPARE(pages->PageCount(), int(tabs.size()));
        for (int i = 0; i < tabs.size(); ++i) {
            QCOMPARE(pages->Page(i)->objectName(), tabs[i]["page"].toString());
            QCOMPARE(pages->TabCaption(i), tabs[i]["caption"].toString());
        }
        QCOMPARE(pages->CurrentPage()->objectName(), QStringLiteral("TabSheet9"));
        QCOMPARE(pages->TabCaption(pages->CurrentIndex()), QStringLiteral("Neuronal  Network"));
    }

    void dialogsOpenInTheirDataFolders() {
        QCOMPARE(Kavelin_Form->OpenPictureDialog1.InitialFolder(),
                 QStringLiteral("./Data/DiscrimAnalysis"));
        QCOMPARE(Kavelin_Form->OpenPictureDialog2.InitialFolder(),
                 QStringLiteral("./Data/AnalyseDeDensite"));
        // The SAT page's "&Save" opens among the constraint files; the transform
        // page asks for its points file in the pictures' folder.
        QCOMPARE(Kavelin_Form->SaveDialog1.InitialFolder(), QStringLiteral("./Data/SATSolver"));
        QCOMPARE(Kavelin_Form->OpenDialog2.InitialFolder(),
                 QStringLiteral("./Data/SegmentationManager"));
        QVERIFY(Kavelin_Form->OpenPictureDialog1.Filter().contains("*.bmp"));
        QVERIFY(Kavelin_Form->OpenPictureDialog1.Filter().contains("*.jpg"));
    }
};

QTEST_MAIN(LayoutTest)
#include "Layout_test.moc"
