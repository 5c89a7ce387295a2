#pragma once

#include <string>
#include <string_view>

namespace lcd {

// Where the bus asks for the Delay text before every port write (in the window: the Delay box).
class DelaySource {
  public:
    virtual ~DelaySource() = default;
    // The text as it stands now; the view stays valid until the text is next changed.
    virtual std::string_view DelayText() const = 0;
};

// A Delay text held by value: what a command sees of the Delay box, taken when its button was pressed.
class FixedDelayText : public DelaySource {
  public:
    explicit FixedDelayText(std::string text = "1") : text_(std::move(text)) {}
    void SetText(std::string text) { text_ = std::move(text); }
    std::string_view DelayText() const override { return text_; }

  private:
    std::string text_;
};

}  // namespace lcd
