#include "storage/connection.h"

#include <cctype>

#include "storage/backends.h"
#include "storage/dialect.h"

namespace condpag {

struct Connection::Impl {
    std::string connection_string;  // what the backend was opened from
    std::chrono::milliseconds lock_wait = kDefaultLockWait;
    ConnectMode mode = ConnectMode::ReadWrite;
    std::unique_ptr<Backend> backend;
    bool in_transaction = false;
    std::vector<Error> errors;
};

namespace {

bool starts_with_word(std::string_view sql, std::string_view word) {
    size_t i = 0;
    while (i < sql.size() && (std::isspace(static_cast<unsigned char>(sql[i])) || sql[i] == '(')) {
        ++i;
    }
    if (sql.size() - i < word.size()) return false;
    for (size_t k = 0; k < word.size(); ++k) {
        if (std::toupper(static_cast<unsigned char>(sql[i + k])) != word[k]) return false;
    }
    return sql.size() == i + word.size() ||
           !std::isalnum(static_cast<unsigned char>(sql[i + word.size()]));
}

const std::vector<Error>& no_errors() {
    static const std::vector<Error> none;
    return none;
}

Expected<std::unique_ptr<Backend>> open_backend(const std::string& text,
                                                std::chrono::milliseconds lock_wait,
                                                ConnectMode mode) {
    if (text.rfind("odbc:", 0) == 0) return open_odbc(text.substr(5), lock_wait, mode);
    if (text.rfind("sqlite:", 0) == 0) return open_sqlite(text.substr(7), false, lock_wait, mode);
    if (!text.empty()) return open_sqlite(text, false, lock_wait, mode);
    return Error{"Impossibile aprire il database: stringa di connessione vuota", "open"};
}

}  // namespace

Status Connection::Open() {
    auto impl = std::make_shared<Impl>();
    impl->connection_string = ConnectionString;
    impl->lock_wait = LockWait;
    impl->mode = Mode;
    impl_ = impl;
    auto backend = open_backend(ConnectionString, LockWait, Mode);
    if (!backend) {
        impl->errors.push_back(backend.error());
        return backend.error();
    }
    impl->backend = std::move(*backend);
    return success();
}

Status Connection::Reopen() {
    if (!impl_) return Open();
    impl_->errors.clear();
    auto backend = open_backend(impl_->connection_string, impl_->lock_wait, impl_->mode);
    if (!backend) {
        // The old session stays in place: a later call may still reopen.
        impl_->errors.push_back(backend.error());
        return backend.error();
    }
    impl_->backend = std::move(*backend);
    impl_->in_transaction = false;  // what the old session had begun went with it
    return success();
}

Status Connection::ReopenIfDropped() {
    if (!impl_ || !impl_->backend || impl_->backend->alive()) return success();
    if (impl_->in_transaction) {
        return Error{"Il collegamento con il database si è interrotto durante un'operazione",
                     "reopen"};
    }
    return Reopen();
}

Status Connection::BeginTrans() {
    if (State() != ObjectState::Open)
        return Error{"La connessione al database non è aperta", "BEGIN"};
    if (impl_->in_transaction) return Error{"Una transazione è già aperta", "BEGIN"};
    impl_->errors.clear();
    Status begun = impl_->backend->begin();
    if (!begun) {
        impl_->errors.push_back(begun.error());
        return begun;
    }
    impl_->in_transaction = true;
    return success();
}

Status Connection::CommitTrans() {
    if (State() != ObjectState::Open || !impl_->in_transaction) {
        return Error{"Nessuna transazione è aperta", "COMMIT"};
    }
    impl_->in_transaction = false;
    Status done = impl_->backend->commit();
    if (!done) {
        impl_->errors.push_back(done.error());
        // What a failed commit leaves is undone, so that the session is usable again.
        ignore_error_by_design(impl_->backend->rollback());
    }
    return done;
}

Status Connection::RollbackTrans() {
    if (State() != ObjectState::Open || !impl_->in_transaction) return success();
    impl_->in_transaction = false;
    return impl_->backend->rollback();
}

bool Connection::in_transaction() const { return impl_ && impl_->in_transaction; }

bool Connection::alive() const { return impl_ && impl_->backend && impl_->backend->alive(); }

void Connection::Close() {
    if (!impl_) return;
    impl_->backend.reset();  // an open transaction is rolled back with the session
    impl_->in_transaction = false;
}

ObjectState Connection::State() const {
    return impl_ && impl_->backend ? ObjectState::Open : ObjectState::Closed;
}

Dialect Connection::dialect() const {
    return State() == ObjectState::Open ? impl_->backend->dialect() : Dialect::SqlServer;
}

Expected<QueryResult> Connection::Execute(const std::string& sql, int /*options*/,
                                          const std::vector<Value>& params) {
    if (State() != ObjectState::Open) return Error{"La connessione al database non è aperta", sql};
    impl_->errors.clear();
    std::string adapted = adapt_statement(sql, dialect());
    bool selects = starts_with_word(adapted, "SELECT") || starts_with_word(adapted, "WITH") ||
                   starts_with_word(adapted, "PRAGMA");
    if (selects) {
        auto result = impl_->backend->query(adapted, params);
        if (!result) impl_->errors.push_back(result.error());
        return result;
    }
    auto changed = impl_->backend->execute(adapted, params);
    if (!changed) {
        impl_->errors.push_back(changed.error());
        return changed.error();
    }
    return QueryResult{};
}

Expected<long long> Connection::ExecuteChange(const std::string& sql,
                                              const std::vector<Value>& params) {
    if (State() != ObjectState::Open) return Error{"La connessione al database non è aperta", sql};
    impl_->errors.clear();
    auto changed = impl_->backend->execute(adapt_statement(sql, dialect()), params);
    if (!changed) impl_->errors.push_back(changed.error());
    return changed;
}

FailureKind Connection::LastFailure() const {
    return State() == ObjectState::Open ? impl_->backend->last_failure() : FailureKind::Other;
}

StatementCounts Connection::Counts() const {
    return State() == ObjectState::Open ? impl_->backend->counts() : StatementCounts{};
}

const std::vector<Error>& Connection::Errors() const { return impl_ ? impl_->errors : no_errors(); }

}  // namespace condpag
