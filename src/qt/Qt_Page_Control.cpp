#include "qt/Qt_Page_Control.h"

#include <QAbstractButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QToolButton>

TPageControl::TPageControl(QWidget* parent)
    : QWidget(parent),
      fTabArea(new QWidget(this)),
      fStack(new QStackedWidget(this)),
      fTabs(new QButtonGroup(this)) {
    fTabs->setExclusive(true);
    fStack->setFrameShape(QFrame::StyledPanel);
    connect(fTabs, &QButtonGroup::idClicked, this, &TPageControl::SetCurrentIndex);
    // Ctrl+Tab and Ctrl+Shift+Tab step through the pages, wrapping around. Shift+Tab
    // arrives as Backtab, which X11's key map matches without its Shift and other
    // platforms with it: one shortcut takes both.
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    auto* previous = new QShortcut(this);
    previous->setKeys({QKeySequence(Qt::CTRL | Qt::Key_Backtab),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});
    connect(next, &QShortcut::activated, this, [this] {
        if (PageCount() > 0) SetCurrentIndex((CurrentIndex() + 1) % PageCount());
    });
    connect(previous, &QShortcut::activated, this, [this] {
        if (PageCount() > 0) SetCurrentIndex((CurrentIndex() + PageCount() - 1) % PageCount());
    });
}

void TPageControl::AddPage(QWidget* page, const QString& caption) {
    page->setAutoFillBackground(true);
    fStack->addWidget(page);
    auto* tab = new QToolButton(fTabArea);
    tab->setObjectName(page->objectName() + QStringLiteral("_Tab"));
    tab->setText(caption);
    tab->setCheckable(true);
    tab->setAutoRaise(false);
    fTabs->addButton(tab, fStack->count() - 1);
    if (fStack->count() == 1) tab->setChecked(true);
    LayoutTabs();
}

QString TPageControl::TabCaption(int index) const {
    QAbstractButton* tab = fTabs->button(index);
    return tab ? tab->text() : QString();
}

void TPageControl::SetCurrentIndex(int index) {
    if (index < 0 || index >= fStack->count()) return;
    fTabs->button(index)->setChecked(true);
    if (fStack->currentIndex() != index) {
        fStack->setCurrentIndex(index);
        emit CurrentChanged(index);
    }
}

void TPageControl::FocusCurrentTab() {
    if (QAbstractButton* tab = fTabs->button(CurrentIndex())) tab->setFocus(Qt::OtherFocusReason);
}

void TPageControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutTabs();
}

void TPageControl::LayoutTabs() {
    const int areaWidth = width();
    int x = 0;
    int y = 0;
    int rowHeight = 0;
    for (int i = 0; i < fStack->count(); ++i) {
        QAbstractButton* tab = fTabs->button(i);
        // Rows of the classic tabs' height whatever the font, so that the pages
        // start where they always do.
        constexpr int kTabHeight = 20;
        const QSize size(tab->sizeHint().width() + 8,
                         std::max(tab->sizeHint().height(), kTabHeight));
        if (x > 0 && x + size.width() > areaWidth) {
            x = 0;
            y += rowHeight;
        }
        tab->setGeometry(x, y, size.width(), size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
    const int tabsHeight = y + rowHeight;
    fTabArea->setGeometry(0, 0, areaWidth, tabsHeight);
    fStack->setGeometry(0, tabsHeight, areaWidth, std::max(0, height() - tabsHeight));
}
