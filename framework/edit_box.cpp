#include "framework/edit_box.h"

#include <cctype>

#include "framework/form.h"
#include "framework/lookup_runner.h"
#include "rules/utf8.h"

namespace condpag {
namespace {

bool same_name(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

EditBox::EditBox(Form& form, std::string name) : Control(form, std::move(name)) {}

void EditBox::apply_text(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    valid_ = true;  // a mark judges the text it was set for, not the next one
    notify();
    Change.emit();
}

void EditBox::set_text(std::string text) { apply_text(std::move(text)); }

void EditBox::set_max_length(int length) {
    max_length_ = length;
    notify();
}

void EditBox::set_upper_case(bool on) {
    upper_case_ = on;
    notify();
}

void EditBox::set_editable(bool on) {
    editable_ = on;
    notify();
}

void EditBox::set_numeric(bool on) {
    numeric_ = on;
    notify();
}

void EditBox::set_currency(std::string currency) {
    currency_ = std::move(currency);
    notify();
}

void EditBox::set_valid(bool on) {
    if (valid_ == on) return;
    valid_ = on;
    notify();
}

bool EditBox::user_type(std::string text) {
    if (!available() || !editable_) return false;
    if (!has_focus() && !form().user_focus(this)) return false;
    if (upper_case_) text = utf8_upper(text);
    // The limit counts characters: a cut never leaves half of one.
    if (max_length_ > 0) text = std::string(utf8_prefix(text, static_cast<size_t>(max_length_)));
    if (text == text_) return true;
    text_ = std::move(text);
    valid_ = true;
    notify();
    user_edited();
    Change.emit();
    return true;
}

bool EditBox::user_leave() {
    bool cancel = false;
    Validate.emit(cancel);
    if (cancel) return false;
    Leave.emit();
    return true;
}

bool EditBox::key_moves_focus(int key, int shift) const {
    return (key == kKeyTab || key == kKeyEnter) && shift == 0;
}

LookupBox::LookupBox(Form& form, std::string name) : EditBox(form, std::move(name)) {
    // A person's code is decoded when the person leaves the box; a code shown by code at once.
    Edited.connect([this] { typed_ = true; });
    Change.connect([this] {
        if (!typed_ && text() != decoded_text_) Decode();
    });
}

void LookupBox::set_lookup_name(std::string name) {
    lookup_name_ = std::move(name);
    notify();
}

void LookupBox::enable_lookup(bool on) {
    if (lookup_enabled_ == on) return;
    lookup_enabled_ = on;
    notify();
}

bool LookupBox::user_lookup() {
    if (!available() || !editable() || !lookup_enabled_) return false;
    LookupRunner* runner = form().lookup_runner();
    LookupRequest request;
    StartLookup.emit(request);
    if (request.cancel || runner == nullptr || request.statement.empty()) return false;
    auto rows = runner->Run(request.statement, request.host_text);
    if (!rows || rows->rows.empty() || rows->rows.front().empty()) return false;
    auto chosen = runner->Choose(request, *rows);
    if (!chosen || *chosen >= rows->rows.size()) return false;
    if (!user_type(rows->rows[*chosen].front().to_text())) return false;
    typed_ = false;
    Decode();
    AfterItem.emit();
    return true;
}

void LookupBox::user_function_key(const std::string& key_name) {
    if (!available()) return;
    FunctionKey.emit(key_name);
}

bool LookupBox::user_leave() {
    if (!EditBox::user_leave()) return false;
    if (typed_) {
        typed_ = false;
        Decode();
        AfterItem.emit();
    }
    return true;
}

void LookupBox::Decode() {
    decoded_text_ = text();
    DecodeRequest request;
    StartDecode.emit(request);
    std::vector<Value> row;
    std::vector<std::string> columns;
    LookupRunner* runner = form().lookup_runner();
    bool blank = text().find_first_not_of(' ') == std::string::npos;
    if (!blank && runner != nullptr && !request.statement.empty()) {
        auto result = runner->Run(request.statement, request.host_text);
        if (result && !result->rows.empty()) {
            row = result->rows.front();
            columns = result->columns;
        }
    }
    for (const DecodeTarget& target : request.targets) {
        if (target.box == nullptr) continue;
        std::string shown;
        for (size_t c = 0; c < columns.size() && c < row.size(); ++c) {
            if (same_name(columns[c], target.column)) shown = RTrimN(row[c]);
        }
        target.box->set_text(shown);
    }
}

}  // namespace condpag
