#include "qt/Qt_Design_Layout.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

TDesignLayout::TDesignLayout(QWidget* window) : QLayout(window), fDesignSize(window->size()) {
    setContentsMargins(0, 0, 0, 0);
    setSizeConstraint(QLayout::SetMinimumSize);
    window->setMinimumSize(fDesignSize);
}

TDesignLayout::~TDesignLayout() {
    for (const TPlace& place : fPlaces) delete place.fItem;
}

void TDesignLayout::Follow(QWidget* control, TFollow follow) {
    addChildWidget(control);
    fPlaces.append({new QWidgetItem(control), control->geometry(), follow});
    invalidate();
}

// An item added the common way keeps its place.
void TDesignLayout::addItem(QLayoutItem* item) {
    fPlaces.append({item, item->geometry(), {}});
}

QLayoutItem* TDesignLayout::itemAt(int index) const {
    return index >= 0 && index < fPlaces.size() ? fPlaces[index].fItem : nullptr;
}

QLayoutItem* TDesignLayout::takeAt(int index) {
    if (index < 0 || index >= fPlaces.size()) return nullptr;
    return fPlaces.takeAt(index).fItem;
}

int TDesignLayout::count() const {
    return static_cast<int>(fPlaces.size());
}

QSize TDesignLayout::sizeHint() const {
    return fDesignSize;
}

QSize TDesignLayout::minimumSize() const {
    return fDesignSize;
}

// The widgets are placed directly, not through their items, so that a place is
// exactly the table's, whatever margins the style gives layout items.
void TDesignLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const int extraX = std::max(0, rect.width() - fDesignSize.width());
    const int extraY = std::max(0, rect.height() - fDesignSize.height());
    const auto share = [](int extra, qreal part) {
        return static_cast<int>(std::lround(extra * part));
    };
    for (const TPlace& place : fPlaces) {
        const TFollow& f = place.fFollow;
        const int dx = share(extraX, f.moveX);
        const int dy = share(extraY, f.moveY);
        // The growth is what is left of the moved share and the grown one, so that
        // two controls whose shares add up meet without a pixel's gap.
        const int dw = share(extraX, f.moveX + f.growX) - dx;
        const int dh = share(extraY, f.moveY + f.growY) - dy;
        const QRect at(place.fDesign.x() + rect.x() + dx, place.fDesign.y() + rect.y() + dy,
                       place.fDesign.width() + dw, place.fDesign.height() + dh);
        if (QWidget* w = place.fItem->widget())
            w->setGeometry(at);
        else
            place.fItem->setGeometry(at);
    }
}
