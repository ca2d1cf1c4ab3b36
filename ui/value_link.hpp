// value_link.hpp - the linking of a panel value with its edit box, spin
// button and slider, the same in every panel and dialog.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/window.hpp"
#include "ui/text_helpers.hpp"

namespace vtg {

// The code of the latest slider scroll message; live updates use it to
// decide how they enter the undo history. Starts at 8 (scroll ended).
extern int32_t lastScrollCode;

struct LinkedValue {
    enum class Kind { Number, Integer, Distance };
    Kind kind = Kind::Number;
    int edit = 0; // control ids in the dialog; 0 for none
    int spin = 0;
    int slider = 0;
    double minimum = 0.0, maximum = 100.0; // as shown (distance: points)
    double scale = 1.0;                    // stored = shown * scale (percent 0.01, degrees pi/180)
    double spinStep = 1.0;                 // added per spin click
    bool moveSlider = true;                // an edit change moves the slider
    double* target = nullptr;              // the parameter record's field
    int32_t ruler = kRulerPoints;
};

// The entry of `target` shown in `edit`, with `spin` and `slider` (0 for
// none), within [minimum, maximum] as shown; stored = shown * scale.
inline LinkedValue Link(LinkedValue::Kind kind, int edit, int spin, int slider, double minimum,
                        double maximum, double scale, double* target) {
    LinkedValue v;
    v.kind = kind;
    v.edit = edit;
    v.spin = spin;
    v.slider = slider;
    v.minimum = minimum;
    v.maximum = maximum;
    v.scale = scale;
    v.target = target;
    return v;
}

// A dialog's linked values. Handle() takes the dialog's messages and serves
// those addressed to a linked control; `onChange` runs after every stored
// change (the live update or the preview).
class ValueLinker {
public:
    explicit ValueLinker(platform::WindowId dialog = 0) : dialog_(dialog) {}
    void SetDialog(platform::WindowId dialog) { dialog_ = dialog; }
    void Add(const LinkedValue& value) { values_.push_back(value); }
    void SetOnChange(void (*onChange)(void* context), void* context) {
        onChange_ = onChange;
        context_ = context;
    }

    // Shows the stored value of every entry in its edit and slider.
    void ShowAll();
    // True when the message belonged to a linked control.
    bool Handle(std::uint32_t code, platform::Param wparam, platform::Param lparam);

    // The three steps, also for callers with their own dispatch.
    void EditChanged(const LinkedValue& v);
    void SpinClicked(const LinkedValue& v, int delta);
    void Scrolled(const LinkedValue& v, int code, int position);

private:
    platform::WindowId item(int id) const { return id != 0 ? platform::GetItem(dialog_, id) : 0; }
    void Show(const LinkedValue& v, double shown);

    platform::WindowId dialog_;
    std::vector<LinkedValue> values_;
    void (*onChange_)(void*) = nullptr;
    void* context_ = nullptr;
};

} // namespace vtg
