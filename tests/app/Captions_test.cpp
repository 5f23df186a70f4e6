// Every caption of every window clear of what surrounds it, at the layout's
// positions: a label overlaps no other control of its parent nor the frame line of
// the group box that holds it, and a group box's caption overlaps none of its controls.
#include <QStyleOptionGroupBox>
#include <QtTest>

#include "support/Window_Fixture.h"

class CaptionsTest : public QObject {
    Q_OBJECT

    static QString NameOf(const QWidget* w) {
        return w->window()->objectName() + "/" + w->objectName();
    }

    // Whether the group box, drawn without its controls, shows one colour behind
    // `rect`: no frame line or panel edge runs there.
    static bool PlainBehind(QGroupBox* box, const QRect& rect) {
        const auto children = box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) child->hide();
        const QImage image = box->grab().toImage();
        for (QWidget* child : children) child->show();
        const QRgb background = image.pixel(rect.topLeft());
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (image.pixel(x, y) != background) return false;
        return true;
    }

    static QRect GroupBoxPart(QGroupBox* box, QStyle::SubControl part) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.lineWidth = 1;
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.textAlignment = box->alignment();
        return box->style()->subControlRect(QStyle::CC_GroupBox, &option, part, box);
    }

  private slots:
    void noCaptionOverlapsAFrameLineOrAnotherControl() {
        TWindowFixture windows;
        int labels = 0;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            for (QLabel* label : window->findChildren<QLabel*>()) {
                QWidget* parent = label->parentWidget();
                if (parent->inherits("QMessageBox") || parent->inherits("QFileDialog")) continue;
                ++labels;
                const QRect text(label->pos(), label->fontMetrics().size(0, label->text()));
                QVERIFY2(label->width() >= text.width(), qPrintable(NameOf(label)));
                // Three pixels at least between a caption and the control beside it.
                const QRect clear = text.adjusted(-3, 0, 3, 0);
                for (QWidget* other : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    if (other != label && !other->isHidden())
                        QVERIFY2(!clear.intersects(other->geometry()),
                                 qPrintable(NameOf(label) + " overlaps " + NameOf(other)));
                if (auto* box = qobject_cast<QGroupBox*>(parent))
                    QVERIFY2(PlainBehind(box, text),
                             qPrintable(NameOf(label) + " on a frame line"));
            }
            for (QGroupBox* box : window->findChildren<QGroupBox*>()) {
                const QRect title = GroupBoxPart(box, QStyle::SC_GroupBoxLabel);
                QVERIFY2(title.width() >= box->fontMetrics().horizontalAdvance(box->title()),
                         qPrintable(NameOf(box)));
                for (QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    QVERIFY2(!title.intersects(child->geometry()),
                             qPrintable(NameOf(box) + " caption overlaps " + NameOf(child)));
            }
        }
        QVERIFY(labels >= 20);
    }
};

QTEST_MAIN(CaptionsTest)
#include "Captions_test.moc"
