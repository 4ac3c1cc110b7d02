#pragma once

// The portable model of one thumbnail tile (zimDisplayControl): geometry of its constituents in
// twips, scaling by resolution, width fitting of the value labels, the comment editor's state and
// the persisted properties. It knows no windowing system: the view hands in a text-measuring
// function, forwards user input to it and applies the geometry it keeps.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace zim {

// The widget's own surface and its eight constituents.
enum class Part : int {
    surface,
    pbxDisplay,
    lblFile,
    lblFileD,
    lblComment,
    lblCommentD,
    txtEditor,
    lblTEST,
    lblTEST2,
};
inline constexpr std::size_t kPartCount = 9;

const char* partName(Part part);

struct Rect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool operator==(const Rect&) const = default;
};

// OLE colours: 0x00BBGGRR, or a system colour with the top bit set.
using OleColor = std::uint32_t;
inline constexpr OleColor kButtonText = 0x80000012;
inline constexpr OleColor kButtonFace = 0x8000000F;

struct Constituent {
    Rect rect;
    bool visible = true;
    std::string caption;
    double fontSize = 9.75;
    bool bold = false;
    OleColor foreColor = kButtonText;
    OleColor backColor = kButtonFace;
    bool operator==(const Constituent&) const = default;
};

// Width and height of a text in twips.
struct TextExtent {
    double width = 0;
    double height = 0;
};
using MeasureText = std::function<TextExtent(std::string_view text, bool bold, double fontSize)>;

// A picture handed to the tile. The view wraps the system's picture object and holds one
// reference to it for as long as a PictureRef to the wrapper exists.
class PictureObject {
  public:
    virtual ~PictureObject() = default;
};
using PictureRef = std::shared_ptr<PictureObject>;

// One value of the property bag: nothing, a picture, a string, a boolean, a colour (32-bit)
// or a 16-bit integer.
using PropertyValue =
    std::variant<std::monostate, PictureRef, std::string, bool, std::uint32_t, std::int16_t>;

// Named values kept in the order they were written.
class PropertyBag {
  public:
    void write(std::string_view name, PropertyValue value);
    // The stored value, or `fallback` when the name is absent or holds another type.
    template <typename T>
    T read(std::string_view name, T fallback) const {
        const PropertyValue* value = find(name);
        if (value != nullptr) {
            if (const T* typed = std::get_if<T>(value)) {
                return *typed;
            }
        }
        return fallback;
    }
    const PropertyValue* find(std::string_view name) const;
    const std::vector<std::pair<std::string, PropertyValue>>& entries() const { return entries_; }

  private:
    std::vector<std::pair<std::string, PropertyValue>> entries_;
};

// The events of the control, plus the container notifications the view needs.
class Events {
  public:
    virtual ~Events() = default;
    virtual void MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
    virtual void CommentChanged() = 0;
    virtual void KeyPress(std::int16_t& keyAscii) = 0;
    virtual void DblClick() = 0;
    virtual void Click() = 0;
    // A property write finished (the container marks the property as changed).
    virtual void PropertyChanged(std::string_view name) { (void)name; }
};

// What the model asks of its view besides showing the geometry.
class View {
  public:
    virtual ~View() = default;
    virtual void setFocus(Part part) = 0;
};

// Design values.
inline constexpr double kDesignWidth = 4500;
inline constexpr double kDesignHeight = 3120;
inline constexpr std::int16_t kDesignResolution = 1024;
inline constexpr char kFileCaption[] = "File Name: ";
inline constexpr char kCommentCaption[] = "Comment:  ";
inline constexpr OleColor kLabelBackColor = 0xC0C0C0;
inline constexpr OleColor kCommentBackColor = 0xD0D0D0;

// The run-time error of a comment write while the container is in design mode.
inline constexpr int kErrorCommentInDesignMode = 382;
inline constexpr char kErrorSource[] = "zimDisplayWidget.zimDisplayControl";

// Font size for a resolution: 10 at design width and above 850, 8 between 750 and 850, 7 below.
double fontSizeForResolution(int resolution);

class DisplayControlModel {
  public:
    // Builds the constituents at their design geometry and runs the start-up layout.
    DisplayControlModel(MeasureText measure, Events& events, View& view);

    const Constituent& part(Part p) const { return parts_[static_cast<std::size_t>(p)]; }

    // The outer size of the widget, given by its container; the widget never changes it.
    void setWidgetSize(double width, double height);
    double widgetWidth() const { return widgetWidth_; }
    double widgetHeight() const { return widgetHeight_; }

    // Whether the container runs the program (false: design mode).
    void setUserMode(bool userMode) { userMode_ = userMode; }
    bool userMode() const { return userMode_; }

    // Properties of the default interface.
    const PictureRef& Picture() const { return picture_; }
    void setPicture(PictureRef picture);
    const std::string& FileName() const { return fileName_; }
    void setFileName(std::string_view name);
    const std::string& Comment() const { return comment_; }
    void setComment(std::string_view comment);  // throws snapdesk::RuntimeError 382 in design mode
    bool IsBusy() const { return busy_; }
    void setIsBusy(bool busy);
    OleColor ForeColor() const { return part(Part::lblFile).foreColor; }
    void setForeColor(OleColor color);
    OleColor BackColor() const { return part(Part::surface).backColor; }
    void setBackColor(OleColor color);
    OleColor FocusColor() const { return focusColor_; }
    void setFocusColor(OleColor color);
    OleColor FileNameColor() const { return part(Part::lblFileD).foreColor; }
    void setFileNameColor(OleColor color);
    std::int16_t Resolution() const { return resolution_; }
    void setResolution(std::int16_t resolution);
    bool PictureVisible() const { return pictureVisible_; }
    void setPictureVisible(bool visible);
    OleColor CommentColor() const { return part(Part::lblCommentD).backColor; }
    void setCommentColor(OleColor color);

    double fileNameWidthLimit() const { return fileNameLimit_; }
    double commentWidthLimit() const { return commentLimit_; }
    bool editing() const { return part(Part::txtEditor).visible; }
    // The editor's current text (what the user has typed so far).
    const std::string& editorText() const { return part(Part::txtEditor).caption; }

    // User input, as the view reports it.
    void mouseDown(Part p, std::int16_t button, std::int16_t shift, float x, float y);
    void click(Part p);
    void dblClick(Part p);
    // A character key on a constituent; returns false when the key is consumed.
    bool keyPress(Part p, std::int16_t& keyAscii);
    void editorTextChanged(std::string_view text);
    void editorGotFocus();
    void editorLostFocus();

    // Persistence.
    void initProperties();
    void readProperties(const PropertyBag& bag);
    void writeProperties(PropertyBag& bag) const;

  private:
    Constituent& at(Part p) { return parts_[static_cast<std::size_t>(p)]; }
    void autoSize(Part label);
    TextExtent measureInto(Part tester, std::string_view text, bool bold, double fontSize);
    void centrePicture();

    // The last text each label was measured with: a tick writes the same names and comments
    // again, and a measurement costs a trip to the screen's device context.
    struct Measurement {
        std::string text;
        bool bold = false;
        double fontSize = 0;
        TextExtent extent;
        bool known = false;
    };

    MeasureText measure_;
    std::array<Measurement, kPartCount> measured_;
    Events& events_;
    View& view_;
    std::array<Constituent, kPartCount> parts_;
    double widgetWidth_ = kDesignWidth;
    double widgetHeight_ = kDesignHeight;
    bool userMode_ = true;

    PictureRef picture_;
    std::string fileName_ = "file name";
    std::string comment_ = "comment";
    bool busy_ = false;
    OleColor focusColor_ = 0;
    std::int16_t resolution_ = kDesignResolution;
    bool pictureVisible_ = true;
    double fileNameLimit_ = 0;
    double commentLimit_ = 0;
};

}  // namespace zim
