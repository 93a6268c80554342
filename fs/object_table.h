#pragma once
// The table behind every numbered thing: windows, controls, images, files, listings.
//
// Slots are numbered from 0. A slot's record is created value-initialised on first use
// and lives until the table is destroyed. A record is in use while Record::InUse() says
// so (it holds a handle). Taking a slot that is in use releases its old object first.
// kAutoNumber asks for a fresh record outside the slots; its id is negative (below -1),
// so it never equals a slot number nor kAutoNumber itself.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

inline constexpr int64_t kAutoNumber = -1;

// Slot numbers beyond this are refused instead of growing the table without bound.
inline constexpr int64_t kMaxSlotNumber = (int64_t{1} << 20) - 1;

template <typename Record>
class ObjectTable {
 public:
  using ReleaseFn = void (*)(Record&);

  ObjectTable(int64_t step, ReleaseFn release) : step_(step), release_(release) {}
  ObjectTable(const ObjectTable&) = delete;
  ObjectTable& operator=(const ObjectTable&) = delete;
  ~ObjectTable() { ReleaseAll(); }

  struct Taken {
    Record* record = nullptr;  // null: the number cannot be taken
    int64_t id = 0;            // the slot number, or the fresh record's id
  };

  // Takes `number` (a slot from 0, or kAutoNumber) for a new object. The record comes
  // back value-initialised; a slot in use is released first.
  Taken Take(int64_t number) {
    if (number == kAutoNumber) {
      const int64_t id = next_fresh_id_--;
      auto& record = fresh_[id];
      record = std::make_unique<Record>();
      return {record.get(), id};
    }
    if (number < 0 || number > kMaxSlotNumber) return {};
    const auto index = static_cast<size_t>(number);
    if (index >= slots_.size()) slots_.resize(index + static_cast<size_t>(step_));
    auto& slot = slots_[index];
    if (!slot) {
      slot = std::make_unique<Record>();
    } else if (slot->InUse()) {
      Release(number);
    }
    return {slot.get(), number};
  }

  // The record in use under a slot number or fresh id; null when there is none.
  Record* Find(int64_t number) const {
    if (number >= 0) {
      if (number >= static_cast<int64_t>(slots_.size())) return nullptr;
      Record* record = slots_[static_cast<size_t>(number)].get();
      return record && record->InUse() ? record : nullptr;
    }
    auto it = fresh_.find(number);
    return it != fresh_.end() && it->second->InUse() ? it->second.get() : nullptr;
  }

  // Runs the release callback on the record (if in use), then clears a slot or frees a
  // fresh record. A fresh record that never came into use is freed as well.
  void Release(int64_t number) {
    if (number >= 0) {
      if (number >= static_cast<int64_t>(slots_.size())) return;
      auto& slot = slots_[static_cast<size_t>(number)];
      if (!slot) return;
      if (slot->InUse()) release_(*slot);
      *slot = Record{};
      return;
    }
    auto it = fresh_.find(number);
    if (it == fresh_.end()) return;
    auto record = std::move(it->second);
    fresh_.erase(it);
    if (record->InUse()) release_(*record);
  }

  // Shutdown order: slots in use ascending, then fresh records newest first.
  void ReleaseAll() {
    for (size_t i = 0; i < slots_.size(); ++i) Release(static_cast<int64_t>(i));
    while (!fresh_.empty()) Release(fresh_.begin()->first);  // lowest id = newest
  }

  // Visits every record in use in shutdown order (slots ascending, fresh newest first).
  template <typename Fn>
  void ForEach(Fn&& fn) const {
    for (size_t i = 0; i < slots_.size(); ++i)
      if (slots_[i] && slots_[i]->InUse()) fn(static_cast<int64_t>(i), *slots_[i]);
    for (const auto& [id, record] : fresh_)
      if (record->InUse()) fn(id, *record);
  }

  int64_t SlotCount() const { return static_cast<int64_t>(slots_.size()); }

 private:
  int64_t step_;
  ReleaseFn release_;
  std::vector<std::unique_ptr<Record>> slots_;
  std::map<int64_t, std::unique_ptr<Record>> fresh_;
  int64_t next_fresh_id_ = -2;
};
