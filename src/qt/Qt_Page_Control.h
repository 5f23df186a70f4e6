// The page control with its tabs on several lines: the tab buttons wrap into as
// many rows as the width needs, above the stack of pages.
#pragma once

#include <QButtonGroup>
#include <QStackedWidget>
#include <QWidget>

class TPageControl : public QWidget {
    Q_OBJECT
  public:
    explicit TPageControl(QWidget* parent);

    // Adds a page under the tab `caption`; the page keeps its own object name.
    void AddPage(QWidget* page, const QString& caption);
    int PageCount() const { return fStack->count(); }
    QWidget* Page(int index) const { return fStack->widget(index); }
    QString TabCaption(int index) const;
    int CurrentIndex() const { return fStack->currentIndex(); }
    void SetCurrentIndex(int index);
    QWidget* CurrentPage() const { return fStack->currentWidget(); }
    // Puts the keyboard focus on the current page's tab, where Return presses
    // nothing.
    void FocusCurrentTab();

  signals:
    void CurrentChanged(int index);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void LayoutTabs();
    QWidget* fTabArea;
    QStackedWidget* fStack;
    QButtonGroup* fTabs;
};
