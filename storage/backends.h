#pragma once
// The two ways a connection reaches a database. Each backend runs statements already in its own
// dialect; errors name the database and what was being done.

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "storage/connection.h"

namespace condpag {

// Opens a SQLite file. A missing file is created only when create_if_missing is set; a
// "file:...?mode=ro" URI or the Read mode opens it read-only. lock_wait bounds how long the open
// and each statement wait for another program's lock. Only a file that holds the payment terms
// is switched to a write-ahead log.
Expected<std::unique_ptr<Backend>> open_sqlite(
    const std::string& path, bool create_if_missing,
    std::chrono::milliseconds lock_wait = kDefaultLockWait,
    ConnectMode mode = ConnectMode::ReadWrite);

// Opens an ODBC connection string through the driver manager. On a SQLite file reached through
// its driver, lock_wait is the wait for another program's lock, as on the native backend.
Expected<std::unique_ptr<Backend>> open_odbc(const std::string& connection_string,
                                             std::chrono::milliseconds lock_wait = kDefaultLockWait,
                                             ConnectMode mode = ConnectMode::ReadWrite);

// The kind of a failure from SQLite's extended result code.
FailureKind sqlite_failure_kind(int extended_code);
// The kind of a failure from an ODBC diagnostic record: its SQLSTATE and the native error code
// of the server or driver behind it.
FailureKind odbc_failure_kind(std::string_view sqlstate, long native, Dialect dialect);

}  // namespace condpag
