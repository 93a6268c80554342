#include "ui/line_list.h"

#include "ui/line_list_view.h"
#include "ui/qt/control_create.h"
#include "ui/qt/line_list_widget.h"
#include "ui/qt/list_selection.h"

namespace {

class QtLineListView final : public LineListView {
 public:
  explicit QtLineListView(LineListWidget& list) : list_(list) {}

  int64_t Count() const override { return list_.count(); }
  void Insert(int64_t at, const std::u16string& text) override {
    const QString line = QString::fromStdU16String(text);
    list_.insertItem(static_cast<int>(at), line);
    list_.LinesAdded({line});
  }
  void Clear() override {
    list_.clear();
    list_.LinesCleared();
  }
  std::u16string Line(int64_t row) const override { return list_.item(static_cast<int>(row))->text().toStdU16String(); }
  int64_t Selected() const override { return FirstSelectedRow(list_); }

 private:
  LineListWidget& list_;
};

}  // namespace

int64_t LineListCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height, uint32_t flags) {
  QWidget* container = ControlContainer();
  if (!container) return 0;
  auto* list = new LineListWidget(container, flags);
  const CreatedControl created = ControlCreate(number, list, x, y, width, height, kLineListOps);
  if (!created.record) return 0;
  LineListStart(*created.record, std::make_unique<QtLineListView>(*list));
  return created.result;
}
