#include "ui/qt/control_create.h"

#include <QWidget>

#include "ui/qt/geometry.h"

CreatedControl ControlCreate(int64_t number, QWidget* control, int64_t x, int64_t y, int64_t width, int64_t height,
                             const ControlOps& ops) {
  control->setGeometry(QtCoordinate(x), QtCoordinate(y), QtSize(width), QtSize(height));
  control->show();
  return ControlJoin(number, control, ops);
}
