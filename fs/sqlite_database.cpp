#include "fs/sqlite_database.h"

#include <sqlite3.h>

#include "fs/fault_seam.h"
#include "fs/text_encoding.h"

namespace {

SqlOutcome OutcomeOf(int code) {
  switch (code & 0xff) {  // the primary code of an extended one
    case SQLITE_OK:
    case SQLITE_DONE:
      return SqlOutcome::Done;
    case SQLITE_ROW:
      return SqlOutcome::Row;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return SqlOutcome::Busy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return SqlOutcome::Damaged;
    case SQLITE_FULL:
      return SqlOutcome::Full;
    default:
      return SqlOutcome::Failed;
  }
}

}  // namespace

void SqlStatement::Finalizer::operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }

void SqlStatement::Bind(int parameter, int64_t value) { sqlite3_bind_int64(statement_.get(), parameter, value); }

void SqlStatement::Bind(int parameter, std::string_view text) {
  sqlite3_bind_text(statement_.get(), parameter, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

SqlOutcome SqlStatement::Step() { return OutcomeOf(sqlite3_step(statement_.get())); }

int64_t SqlStatement::Integer(int column) const { return sqlite3_column_int64(statement_.get(), column); }

std::string SqlStatement::Text(int column) const {
  const auto* text = sqlite3_column_text(statement_.get(), column);
  if (text == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<size_t>(sqlite3_column_bytes(statement_.get(), column)));
}

void SqlStatement::Reset() {
  sqlite3_reset(statement_.get());
  sqlite3_clear_bindings(statement_.get());
}

void SqlDatabase::Closer::operator()(sqlite3* database) const { sqlite3_close_v2(database); }

SqlDatabase SqlDatabase::Open(const std::string& path, std::chrono::milliseconds busy_timeout, SqlOutcome& outcome) {
  SqlDatabase result;
  sqlite3* database = nullptr;
  // Each connection is used by one thread at a time; the library's own locks stay on.
  const int access = FaultAt(FaultPoint::OpenDatabase, TextFromUtf8(path)) != 0
                         ? SQLITE_OPEN_READONLY
                         : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  const int code = sqlite3_open_v2(path.c_str(), &database, access | SQLITE_OPEN_NOMUTEX, nullptr);
  result.database_.reset(database);  // a failed open still gives a handle to close
  outcome = OutcomeOf(code);
  if (code != SQLITE_OK) {
    result.Close();
    return result;
  }
  sqlite3_extended_result_codes(database, 1);
  sqlite3_busy_timeout(database, static_cast<int>(busy_timeout.count()));
  return result;
}

SqlOutcome SqlDatabase::Execute(const char* sql) {
  return OutcomeOf(sqlite3_exec(database_.get(), sql, nullptr, nullptr, nullptr));
}

SqlStatement SqlDatabase::Prepare(std::string_view sql, SqlOutcome& outcome) {
  SqlStatement result;
  sqlite3_stmt* statement = nullptr;
  outcome = OutcomeOf(sqlite3_prepare_v3(database_.get(), sql.data(), static_cast<int>(sql.size()),
                                         SQLITE_PREPARE_PERSISTENT, &statement, nullptr));
  result.statement_.reset(statement);
  return result;
}

std::string SqlDatabase::ErrorText() const { return database_ ? sqlite3_errmsg(database_.get()) : "out of memory"; }
