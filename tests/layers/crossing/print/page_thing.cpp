// A page printer file that reaches up into the windows.
#include <QLabel>
#include <QPainter>

#include "app/main_window.h"
#include "data/table.h"
#include "page_thing.h"
