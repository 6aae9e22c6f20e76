#include "browser/views/PTEmptyAnimView.h"

PTEmptyAnimView::PTEmptyAnimView(QWidget* parent) : QWidget(parent) {}
