#include "storage/connection.h"

#include <cctype>

#include "storage/backends.h"
#include "storage/dialect.h"

namespace condpag {

struct Connection::Impl {
    std::string connection_string;  // what the backend was opened from
    std::chrono::milliseconds lock_wait = kDefaultLockWait;
    std::unique_ptr<Backend> backend;
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
                                                std::chrono::milliseconds lock_wait) {
    if (text.rfind("odbc:", 0) == 0) return open_odbc(text.substr(5));
    if (text.rfind("sqlite:", 0) == 0) return open_sqlite(text.substr(7), false, lock_wait);
    if (!text.empty()) return open_sqlite(text, false, lock_wait);
    return Error{"Impossibile aprire il database: stringa di connessione vuota", "open"};
}

}  // namespace

Status Connection::Open() {
    auto impl = std::make_shared<Impl>();
    impl->connection_string = ConnectionString;
    impl->lock_wait = LockWait;
    impl_ = impl;
    auto backend = open_backend(ConnectionString, LockWait);
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
    auto backend = open_backend(impl_->connection_string, impl_->lock_wait);
    if (!backend) {
        // The old session stays in place: a later call may still reopen.
        impl_->errors.push_back(backend.error());
        return backend.error();
    }
    impl_->backend = std::move(*backend);
    return success();
}

bool Connection::alive() const { return impl_ && impl_->backend && impl_->backend->alive(); }

void Connection::Close() {
    if (impl_) impl_->backend.reset();
}

int Connection::State() const { return impl_ && impl_->backend ? 1 : 0; }

Dialect Connection::dialect() const {
    return State() ? impl_->backend->dialect() : Dialect::SqlServer;
}

Expected<QueryResult> Connection::Execute(const std::string& sql, int /*options*/,
                                          const std::vector<Value>& params) {
    if (!State()) return Error{"La connessione al database non è aperta", sql};
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
    if (!State()) return Error{"La connessione al database non è aperta", sql};
    impl_->errors.clear();
    auto changed = impl_->backend->execute(adapt_statement(sql, dialect()), params);
    if (!changed) impl_->errors.push_back(changed.error());
    return changed;
}

const std::vector<Error>& Connection::Errors() const { return impl_ ? impl_->errors : no_errors(); }

}  // namespace condpag
