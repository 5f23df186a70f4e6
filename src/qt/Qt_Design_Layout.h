// A layout that keeps the places of the layout tables: at the window's design
// size every control stands where its table puts it. A control given shares of
// the room beyond that size moves and grows by them; the others keep their place
// and size. The window cannot be made smaller than its design size, so no control
// is ever cut off.
#pragma once

#include <QLayout>
#include <QList>
#include <QRect>
#include <QSize>

class TDesignLayout : public QLayout {
  public:
    // How a control follows the room beyond the design size: the shares of the
    // extra width by which it moves right and grows, and the same downwards. A
    // control that keeps its left and top and grows with the window has
    // {0, 1, 0, 1}.
    struct TFollow {
        qreal moveX = 0;
        qreal growX = 0;
        qreal moveY = 0;
        qreal growY = 0;
    };

    // Becomes the window's layout; the window's present size is its design size,
    // and its minimum size.
    explicit TDesignLayout(QWidget* window);
    ~TDesignLayout() override;

    // The control, at its present geometry (its design place), follows the window.
    void Follow(QWidget* control, TFollow follow);
    QSize DesignSize() const { return fDesignSize; }

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

  private:
    struct TPlace {
        QLayoutItem* fItem;
        QRect fDesign;
        TFollow fFollow;
    };
    QSize fDesignSize;
    QList<TPlace> fPlaces;
};
