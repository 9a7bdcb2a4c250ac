#include "common/steady_place.h"

SteadyPlace::SteadyPlace(QWidget* held) : held_(held) {
    held->setParent(this);
    setSizePolicy(held->sizePolicy());
}

void SteadyPlace::resizeEvent(QResizeEvent* /*event*/) {
    held_->setGeometry(rect());
}
