#pragma once
// An SQLite database file behind one small owner, so that no other code sees the C API.
// Every call reports how it went as an SqlOutcome; none throws.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

enum class SqlOutcome {
  Done,     // the statement ran to its end
  Row,      // a row is ready to be read
  Busy,     // another connection holds the lock past the busy timeout
  Damaged,  // the file is no database or its content is damaged
  Full,     // the disk or the database's size limit is full
  Failed,   // anything else: no permission, a read-only file, an I/O error
};

// A prepared statement of one database; reset before each run.
class SqlStatement {
 public:
  SqlStatement() = default;
  bool IsReady() const { return statement_ != nullptr; }
  // Parameters are numbered from 1, as in the SQL's `?1`.
  void Bind(int parameter, int64_t value);
  void Bind(int parameter, std::string_view text);
  SqlOutcome Step();
  // Of the row Step returned; columns are numbered from 0.
  int64_t Integer(int column) const;
  std::string Text(int column) const;
  // Ready to run again with new parameters.
  void Reset();

 private:
  friend class SqlDatabase;
  struct Finalizer {
    void operator()(sqlite3_stmt* statement) const;
  };
  std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};

class SqlDatabase {
 public:
  SqlDatabase() = default;
  // Opens, or creates, the database at the path (UTF-8; see SqlDatabasePath). Closed on
  // failure, with the outcome in `outcome`.
  static SqlDatabase Open(const std::string& path, std::chrono::milliseconds busy_timeout, SqlOutcome& outcome);
  bool IsOpen() const { return database_ != nullptr; }
  // Runs statements that give no rows.
  SqlOutcome Execute(const char* sql);
  // A statement that is not ready when the SQL cannot be prepared; `outcome` says why.
  SqlStatement Prepare(std::string_view sql, SqlOutcome& outcome);
  // The last failure's words, for a message.
  std::string ErrorText() const;
  // Closes now; statements prepared on it must be gone first.
  void Close() { database_.reset(); }

 private:
  struct Closer {
    void operator()(sqlite3* database) const;
  };
  std::unique_ptr<sqlite3, Closer> database_;
};
