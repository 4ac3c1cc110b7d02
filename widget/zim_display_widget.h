#pragma once

// Host interface of zimDisplayWidget.dll: the thumbnail tile "zimDisplayWidget.zimDisplayControl".
//
// A tile is a child window with real constituents (picture area, labels, one-line editor). The
// host creates it with zimCreateDisplayControl, positions, shows and orders it with the usual
// window functions on hWnd() (the tile never changes its own outer size), sets its properties
// through DisplayControl and receives its events through DisplayControlEvents. Strings are
// UTF-8. Pictures are OLE pictures (IPictureDisp, or any object that answers IPicture); the tile
// keeps one reference while it shows a picture and releases it when the picture is replaced or
// the tile is destroyed. Property writes return 0 or the number of the run-time error they
// raised. No C++ exception crosses this interface.

#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#ifdef ZIM_DISPLAY_WIDGET_BUILD
#define ZIM_DISPLAY_WIDGET_API extern "C" __declspec(dllexport)
#else
#define ZIM_DISPLAY_WIDGET_API extern "C" __declspec(dllimport)
#endif

namespace zim {

inline constexpr wchar_t kProgId[] = L"zimDisplayWidget.zimDisplayControl";

// Control identifiers of the constituent windows: GetDlgItem(tile->hWnd(), id).
enum ConstituentId : int {
    kIdDisplay = 101,   // pbxDisplay, picture area; takes the tile's keyboard focus
    kIdFile = 102,      // lblFile, "File Name: "
    kIdFileD = 103,     // lblFileD, the file name
    kIdComment = 104,   // lblComment, "Comment:  "
    kIdCommentD = 105,  // lblCommentD, the comment; a click starts editing
    kIdEditor = 106,    // txtEditor, visible only while the comment is edited
};

// Run-time error numbers a property call can return.
inline constexpr int kErrorOutOfMemory = 7;
inline constexpr int kErrorSetNotSupportedAtRuntime = 382;  // Comment written in design mode
inline constexpr int kErrorPictureTypeMismatch = 481;       // the object is not a picture

class DisplayControl;

// Implemented by the host. MouseDown arguments use the tile's conventions: Button 1 left,
// 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt; X and Y in twips relative to the constituent
// that was hit. All arguments passed by reference may be changed by the handler.
class DisplayControlEvents {
  public:
    virtual ~DisplayControlEvents() = default;
    virtual void MouseDown(DisplayControl& /*sender*/, short& /*button*/, short& /*shift*/,
                           float& /*x*/, float& /*y*/) {}
    // The comment editor lost the focus (raised whether or not the text changed).
    virtual void CommentChanged(DisplayControl& /*sender*/) {}
    // A character key while the picture area has the focus; set keyAscii to 0 to drop it.
    virtual void KeyPress(DisplayControl& /*sender*/, short& /*keyAscii*/) {}
    virtual void DblClick(DisplayControl& /*sender*/) {}
    // Raised after the tile has given the focus to its picture area.
    virtual void Click(DisplayControl& /*sender*/) {}

    // Container notifications: the keyboard focus entered or left the tile as a whole, and a
    // property write finished (the name of the property).
    virtual void GotFocus(DisplayControl& /*sender*/) {}
    virtual void LostFocus(DisplayControl& /*sender*/) {}
    virtual void PropertyChanged(DisplayControl& /*sender*/, const char* /*name*/) {}
};

// One tile. Members in the order of the control's default interface.
class DisplayControl {
  public:
    // Sets the picture of the picture area (nullptr: none), then centres the area horizontally.
    virtual int putref_Picture(IUnknown* picture) = 0;
    // The current picture with a new reference for the caller, or nullptr.
    virtual IPictureDisp* get_Picture() = 0;
    // A new picture of what the picture area shows (picture plus drawing); caller releases it.
    virtual IPictureDisp* get_Image() = 0;
    virtual void Refresh() = 0;  // repaints the picture area
    virtual void Cls() = 0;      // clears what was drawn on the picture area
    // Strings stay valid until the next call on this tile.
    virtual const char* get_FileName() = 0;
    virtual int put_FileName(const char* name) = 0;
    virtual const char* get_Comment() = 0;
    virtual int put_Comment(const char* comment) = 0;
    virtual bool get_IsBusy() = 0;
    virtual int put_IsBusy(bool busy) = 0;
    virtual OLE_COLOR get_ForeColor() = 0;
    virtual int put_ForeColor(OLE_COLOR color) = 0;
    virtual OLE_COLOR get_BackColor() = 0;
    virtual int put_BackColor(OLE_COLOR color) = 0;
    virtual OLE_COLOR get_FocusColor() = 0;
    virtual int put_FocusColor(OLE_COLOR color) = 0;
    virtual OLE_COLOR get_FileNameColor() = 0;
    virtual int put_FileNameColor(OLE_COLOR color) = 0;
    virtual short get_Resolution() = 0;
    // Rescales the current geometry by resolution / 1024: meant to be set once per tile.
    virtual int put_Resolution(short resolution) = 0;
    virtual bool get_PictureVisible() = 0;
    // true: the picture rectangle; false: a 500 x 500 twip square for an icon drawn on hDC.
    virtual int put_PictureVisible(bool visible) = 0;
    // The picture area's persistent drawing surface: what is drawn on it stays until the next
    // Cls, Picture, BackColor or size change, and shows at the next paint.
    virtual HDC get_hDC() = 0;
    virtual OLE_COLOR get_CommentColor() = 0;
    virtual int put_CommentColor(OLE_COLOR color) = 0;

    // Container side.
    virtual HWND hWnd() = 0;
    // false puts the tile in design mode (Comment writes then fail with 382).
    virtual void put_UserMode(bool userMode) = 0;
    // Persistence through any property bag ("Picture", "FileName", "Comment", "IsBusy",
    // "FocusColor", "FileNameColor", "ForeColor", "Resolution", "PictureVisible",
    // "CommentColor", in this order). Return 0 or an error number.
    virtual int InitProperties() = 0;
    virtual int ReadProperties(IPropertyBag* bag) = 0;
    virtual int WriteProperties(IPropertyBag* bag) = 0;
    // Destroys the window (when it still exists) and the tile. Not from inside an event.
    virtual void Release() = 0;

  protected:
    ~DisplayControl() = default;
};

// An in-memory property bag that keeps its values in the order they were written. Like every
// COM object it is destroyed by its last Release, never by delete.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class OrderedPropertyBag : public IPropertyBag {
  public:
    virtual int Count() = 0;
    virtual const wchar_t* NameAt(int index) = 0;

  protected:
    ~OrderedPropertyBag() = default;
};
#pragma GCC diagnostic pop

}  // namespace zim

// Creates a tile as an invisible child of `parent` at (0, 0), 4500 x 3120 twips. `events` may be
// nullptr and must outlive the tile. Returns 0 and the tile in *control, or an error number.
ZIM_DISPLAY_WIDGET_API int zimCreateDisplayControl(HWND parent, zim::DisplayControlEvents* events,
                                                   zim::DisplayControl** control);

// Creates an empty ordered property bag with one reference for the caller.
ZIM_DISPLAY_WIDGET_API int zimCreatePropertyBag(zim::OrderedPropertyBag** bag);
