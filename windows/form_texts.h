#pragma once
// The texts of a window's controls by name, as the rules read them: a box gives its text, a
// choice list the stored code of its selection, a check box "1" or "0". A numeric box typed the
// Italian way ("1.234,50") gives its number as plain decimal text ("1234.5").

#include "framework/form.h"
#include "rules/editor_view.h"

namespace condpag {

class FormTexts : public ControlTexts {
  public:
    explicit FormTexts(const Form& window) : window_(&window) {}
    std::string text(std::string_view control) const override;

  private:
    const Form* window_;
};

}  // namespace condpag
