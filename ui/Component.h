#pragma once
// Our small form layer: components that have names and owners, and the controls drawn on a
// form. The model holds every property; a peer (Win32 or a test fake) realises it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Picture.h"
#include "platform/Types.h"

namespace gs::ui {

// Colours as 0x00BBGGRR, as the Windows COLORREF; system colours have the top bit set.
using TColor = uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clSystemFlag = 0x80000000u;
inline constexpr TColor clWindowText = clSystemFlag | 8;
inline constexpr TColor clBtnFace = clSystemFlag | 15;

struct Font {
    std::wstring name = L"Tahoma";
    int height = -11;  // negative: character height in pixels
    bool bold = false;
    TColor color = clWindowText;
    int charset = 1;  // DEFAULT_CHARSET
    friend bool operator==(const Font&, const Font&) = default;
};

enum class Cursor { Default, HandPoint };

class Component;
using Handler = std::function<void(Component& sender)>;

class Component {
  public:
    Component(Component* owner, std::wstring name);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    const std::wstring& Name() const { return name_; }
    void setName(std::wstring n) { name_ = std::move(n); }
    Component* Owner() const { return owner_; }

    // Components owned by this one, in creation order.
    const std::vector<std::unique_ptr<Component>>& Components() const { return owned_; }
    // Looks among the owned components only (names are unique per owner).
    Component* FindComponent(const std::wstring& name) const;

    // Creates a component owned by this one.
    template <class T, class... Args>
    T& create(std::wstring name, Args&&... args) {
        auto c = std::make_unique<T>(this, std::move(name), std::forward<Args>(args)...);
        T& ref = *c;
        owned_.push_back(std::move(c));
        adopted(ref);
        return ref;
    }

  protected:
    // Called after a component was created with this one as owner.
    virtual void adopted(Component&) {}
    // Frees the owned components now, newest first.
    void destroyComponents();

  private:
    Component* owner_;
    std::wstring name_;
    std::vector<std::unique_ptr<Component>> owned_;
};

class Form;

// A control drawn on a form, without a window of its own.
class Control : public Component {
  public:
    using Component::Component;

    Rect bounds() const { return bounds_; }
    void setBounds(int left, int top, int width, int height);
    bool Visible() const { return visible_; }
    void setVisible(bool v);

    std::wstring Hint;
    bool ShowHint = false;
    Cursor cursor = Cursor::Default;
    Handler OnClick;
    Handler OnMouseEnter;

    Form* parentForm() const;
    void invalidate();

  private:
    Rect bounds_{};
    bool visible_ = true;
};

class Image : public Control {
  public:
    using Control::Control;
    const Picture& picture() const { return picture_; }
    void setPicture(Picture p);
    bool Center = false;

  private:
    Picture picture_;
};

class Label : public Control {
  public:
    using Control::Control;
    const std::wstring& Caption() const { return caption_; }
    void setCaption(const std::wstring& c);
    Font font;
    bool CenterText = false;  // centred horizontally and vertically

  private:
    std::wstring caption_;
};

// A push button drawn by the form: flat (text only) or raised.
class SpeedButton : public Control {
  public:
    using Control::Control;
    std::wstring Caption;
    Font font;
    bool Flat = false;
};

// A rectangle outline: a pen of some width in some colour.
class Shape : public Control {
  public:
    using Control::Control;
    TColor penColor() const { return penColor_; }
    void setPenColor(TColor c);
    int PenWidth = 1;
    TColor BrushColor = clWhite;

  private:
    TColor penColor_ = clBlack;
};

}  // namespace gs::ui
