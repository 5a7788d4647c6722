#pragma once
// What runs a lookup box's list and decode: it runs the statement the window filled and lets a
// person choose a row. The Qt shell shows a dialog; the headless runner answers from a script.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "framework/edit_box.h"
#include "rules/expected.h"
#include "storage/connection.h"

namespace condpag {

class LookupRunner {
  public:
    virtual ~LookupRunner() = default;
    // Runs a statement of a lookup or a decode; host_text is the connection string it runs on.
    virtual Expected<QueryResult> Run(const std::string& statement,
                                      const std::string& host_text) = 0;
    // Lets a person choose a row of the list (index into result.rows); nullopt = cancelled.
    virtual std::optional<size_t> Choose(const LookupRequest& request,
                                         const QueryResult& result) = 0;
};

// Runs statements on the connection it is given (or, without one, on a connection it opens on
// the host text) and chooses the rows of its script, in order; an empty script cancels.
class HeadlessLookupRunner : public LookupRunner {
  public:
    HeadlessLookupRunner() = default;
    explicit HeadlessLookupRunner(Connection connection) : connection_(std::move(connection)) {}

    Expected<QueryResult> Run(const std::string& statement, const std::string& host_text) override;
    std::optional<size_t> Choose(const LookupRequest& request, const QueryResult& result) override;

    // The next choices; nullopt cancels that list.
    std::deque<std::optional<size_t>> script;
    // Every list shown, in order.
    std::vector<LookupRequest> shown;
    // Every statement run, in order.
    std::vector<std::string> statements;

  private:
    Connection connection_;
    bool opened_ = false;
};

}  // namespace condpag
