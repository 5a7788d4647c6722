#include "framework/lookup_runner.h"

namespace condpag {

Expected<QueryResult> HeadlessLookupRunner::Run(const std::string& statement,
                                                const std::string& host_text) {
    statements.push_back(statement);
    if (connection_.State() != ObjectState::Open && !opened_ && !host_text.empty()) {
        // No connection given: open one of its own on the host text, once.
        opened_ = true;
        connection_.ConnectionString = host_text;
        if (Status open = connection_.Open(); !open) return open.error();
    }
    if (connection_.State() != ObjectState::Open)
        return Error{"Nessuna connessione per la ricerca", statement};
    return connection_.Execute(statement, 1);
}

std::optional<size_t> HeadlessLookupRunner::Choose(const LookupRequest& request,
                                                   const QueryResult&) {
    shown.push_back(request);
    if (script.empty()) return std::nullopt;
    std::optional<size_t> choice = script.front();
    script.pop_front();
    return choice;
}

}  // namespace condpag
