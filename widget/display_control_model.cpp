#include "display_control_model.h"

#include <cmath>

#include "common/runtime_error.h"

namespace zim {

namespace {

std::string trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

// Rounding of a twip value to a whole number: to the nearest, halves to even.
double roundToInteger(double value) {
    return std::nearbyint(value);
}

bool raisesMouseDown(Part p) {
    switch (p) {
        case Part::surface:
        case Part::pbxDisplay:
        case Part::lblFile:
        case Part::lblFileD:
        case Part::lblComment:
        case Part::lblCommentD:
            return true;
        default:
            return false;
    }
}

bool raisesClick(Part p) {
    return raisesMouseDown(p) && p != Part::lblCommentD;
}

}  // namespace

const char* partName(Part part) {
    static constexpr const char* names[kPartCount] = {"surface",   "pbxDisplay", "lblFile",
                                                      "lblFileD",  "lblComment", "lblCommentD",
                                                      "txtEditor", "lblTEST",    "lblTEST2"};
    return names[static_cast<std::size_t>(part)];
}

double fontSizeForResolution(int resolution) {
    if (resolution < 750) {
        return 7;
    }
    if (resolution > 750 && resolution < 850) {
        return 8;
    }
    return 10;
}

void PropertyBag::write(std::string_view name, PropertyValue value) {
    for (auto& entry : entries_) {
        if (entry.first == name) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::string(name), std::move(value));
}

const PropertyValue* PropertyBag::find(std::string_view name) const {
    for (const auto& entry : entries_) {
        if (entry.first == name) {
            return &entry.second;
        }
    }
    return nullptr;
}

DisplayControlModel::DisplayControlModel(MeasureText measure, Events& events, View& view)
    : measure_(std::move(measure)), events_(events), view_(view) {
    at(Part::surface).rect = {0, 0, kDesignWidth, kDesignHeight};

    Constituent& pbx = at(Part::pbxDisplay);
    pbx.rect = {330, 90, 3840, 2175};

    Constituent& file = at(Part::lblFile);
    file.rect = {120, 2400, 1005, 240};
    file.caption = kFileCaption;
    file.backColor = kLabelBackColor;

    Constituent& fileValue = at(Part::lblFileD);
    fileValue.rect = {1440, 2400, 420, 240};
    fileValue.bold = true;
    fileValue.backColor = kLabelBackColor;

    Constituent& comment = at(Part::lblComment);
    comment.rect = {135, 2760, 945, 240};
    comment.caption = kCommentCaption;
    comment.backColor = kLabelBackColor;

    Constituent& commentValue = at(Part::lblCommentD);
    commentValue.rect = {1440, 2760, 420, 240};
    commentValue.backColor = kCommentBackColor;

    Constituent& editor = at(Part::txtEditor);
    editor.foreColor = 0x80000008;  // window text
    editor.backColor = 0x80000005;  // window background

    Constituent& fileTester = at(Part::lblTEST);
    fileTester.bold = true;
    fileTester.visible = false;
    Constituent& commentTester = at(Part::lblTEST2);
    commentTester.visible = false;

    // Start-up layout: each value label follows its caption and ends as far right of the picture
    // area as the caption begins left of it; the editor lies over the comment value.
    fileValue.rect.left = file.rect.left + file.rect.width;
    commentValue.rect.left = comment.rect.left + comment.rect.width;
    fileValue.rect.width =
        2 * pbx.rect.left + pbx.rect.width - file.rect.left - fileValue.rect.left;
    commentValue.rect.width =
        2 * pbx.rect.left + pbx.rect.width - comment.rect.left - commentValue.rect.left;
    editor.rect = {commentValue.rect.left - 30, commentValue.rect.top - 30, commentValue.rect.width,
                   commentValue.rect.height};
    editor.visible = false;
}

void DisplayControlModel::setWidgetSize(double width, double height) {
    widgetWidth_ = width;
    widgetHeight_ = height;
    at(Part::surface).rect = {0, 0, width, height};
}

void DisplayControlModel::autoSize(Part label) {
    Constituent& c = at(label);
    Measurement& m = measured_[static_cast<std::size_t>(label)];
    if (!m.known || m.text != c.caption || m.bold != c.bold || m.fontSize != c.fontSize) {
        m = {c.caption, c.bold, c.fontSize, measure_(c.caption, c.bold, c.fontSize), true};
    }
    c.rect.width = m.extent.width;
    c.rect.height = m.extent.height;
}

TextExtent DisplayControlModel::measureInto(Part tester, std::string_view text, bool bold,
                                            double fontSize) {
    Constituent& c = at(tester);
    c.caption = std::string(text);
    c.bold = bold;
    c.fontSize = fontSize;
    autoSize(tester);
    return {c.rect.width, c.rect.height};
}

void DisplayControlModel::centrePicture() {
    Constituent& pbx = at(Part::pbxDisplay);
    pbx.rect.left = (widgetWidth_ - pbx.rect.width) / 2;
}

void DisplayControlModel::setPicture(PictureRef picture) {
    picture_ = std::move(picture);
    centrePicture();
    events_.PropertyChanged("Picture");
}

void DisplayControlModel::setFileName(std::string_view name) {
    fileName_ = std::string(name);
    Constituent& value = at(Part::lblFileD);
    value.caption = fileName_;
    // Measured in the font the value label shows it in.
    const double measured = measureInto(Part::lblTEST, fileName_, true, value.fontSize).width;
    value.rect.width = fileNameLimit_ >= measured ? measured : fileNameLimit_;
    events_.PropertyChanged("FileName");
}

void DisplayControlModel::setComment(std::string_view comment) {
    if (!userMode_) {
        throw snapdesk::RuntimeError(kErrorCommentInDesignMode, "Set not supported at runtime",
                                     kErrorSource);
    }
    comment_ = trimBlanks(comment);
    Constituent& value = at(Part::lblCommentD);
    value.caption = comment_;
    at(Part::txtEditor).caption = comment_;
    const double measured = measureInto(Part::lblTEST2, comment_, false, value.fontSize).width;
    const double limit = commentLimit_;
    if (limit >= measured) {
        // A short or empty comment keeps a box that can still be clicked.
        value.rect.width = limit / 4 > measured ? limit / 4 : measured;
    } else {
        value.rect.width = limit;
    }
    events_.PropertyChanged("Comment");
}

void DisplayControlModel::setIsBusy(bool busy) {
    busy_ = busy;
    events_.PropertyChanged("IsBusy");
}

void DisplayControlModel::setForeColor(OleColor color) {
    at(Part::lblFile).foreColor = color;
    at(Part::lblComment).foreColor = color;
    at(Part::lblCommentD).foreColor = color;
    events_.PropertyChanged("ForeColor");
}

void DisplayControlModel::setBackColor(OleColor color) {
    for (Part p :
         {Part::surface, Part::pbxDisplay, Part::lblFile, Part::lblComment, Part::lblFileD}) {
        at(p).backColor = color;
    }
    events_.PropertyChanged("BackColor");
}

void DisplayControlModel::setFocusColor(OleColor color) {
    focusColor_ = color;
    events_.PropertyChanged("FocusColor");
}

void DisplayControlModel::setFileNameColor(OleColor color) {
    at(Part::lblFileD).foreColor = color;
    events_.PropertyChanged("FileNameColor");
}

void DisplayControlModel::setCommentColor(OleColor color) {
    at(Part::lblCommentD).backColor = color;
    events_.PropertyChanged("CommentColor");
}

void DisplayControlModel::setResolution(std::int16_t resolution) {
    resolution_ = resolution;
    // Every step multiplies the current geometry, so a second write compounds the scale.
    const double f = resolution / 1024.0;
    const double size = fontSizeForResolution(resolution);

    const auto scaleCaptionAndValue = [&](Part caption, Part value) {
        Constituent& c = at(caption);
        c.rect = {c.rect.left * f, c.rect.top * f, c.rect.width * f, c.rect.height * f};
        c.fontSize = size;
        autoSize(caption);
        Constituent& v = at(value);
        v.rect.height = c.rect.height;
        v.rect.width *= f;
        v.rect.left = c.rect.left + c.rect.width;
        v.rect.top = c.rect.top;
        v.fontSize = size;
    };
    scaleCaptionAndValue(Part::lblFile, Part::lblFileD);
    scaleCaptionAndValue(Part::lblComment, Part::lblCommentD);

    Constituent& editor = at(Part::txtEditor);
    editor.rect = part(Part::lblCommentD).rect;
    editor.fontSize = size;

    Rect& pbx = at(Part::pbxDisplay).rect;
    pbx = {pbx.left * f, pbx.top * f, pbx.width * f, pbx.height * f};

    commentLimit_ = roundToInteger(part(Part::lblCommentD).rect.width);
    fileNameLimit_ = roundToInteger(part(Part::lblFileD).rect.width);
    at(Part::lblCommentD).rect.width = commentLimit_ / 4;
    events_.PropertyChanged("Resolution");
}

void DisplayControlModel::setPictureVisible(bool visible) {
    pictureVisible_ = visible;
    const double f = resolution_ / 1024.0;
    Rect& pbx = at(Part::pbxDisplay).rect;
    if (visible) {
        pbx = {330 * f, 90 * f, 3840 * f, 2175 * f};
    } else {
        // A small square in the middle of the tile for the window's icon; its size is fixed.
        pbx = {1900 * f, 1090 * f, 500, 500};
    }
    events_.PropertyChanged("PictureVisible");
}

void DisplayControlModel::mouseDown(Part p, std::int16_t button, std::int16_t shift, float x,
                                    float y) {
    if (raisesMouseDown(p)) {
        events_.MouseDown(button, shift, x, y);
    }
}

void DisplayControlModel::click(Part p) {
    if (p == Part::lblCommentD) {
        if (!editing()) {
            at(Part::lblCommentD).visible = false;
            at(Part::txtEditor).visible = true;
            view_.setFocus(Part::txtEditor);
        }
        return;
    }
    if (raisesClick(p)) {
        view_.setFocus(Part::pbxDisplay);
        events_.Click();
    }
}

void DisplayControlModel::dblClick(Part p) {
    if (raisesMouseDown(p)) {
        events_.DblClick();
    }
}

bool DisplayControlModel::keyPress(Part p, std::int16_t& keyAscii) {
    if (p == Part::pbxDisplay) {
        events_.KeyPress(keyAscii);
        return keyAscii != 0;
    }
    if (p == Part::txtEditor && keyAscii == 13) {
        // Enter ends the edit by moving the focus away; nothing else is special.
        view_.setFocus(Part::pbxDisplay);
        return false;
    }
    return true;
}

void DisplayControlModel::editorTextChanged(std::string_view text) {
    at(Part::txtEditor).caption = std::string(text);
}

void DisplayControlModel::editorGotFocus() {
    busy_ = true;
}

void DisplayControlModel::editorLostFocus() {
    // The comment becomes the text as typed: not trimmed, and the label keeps its width.
    const std::string typed = part(Part::txtEditor).caption;
    at(Part::lblCommentD).caption = typed;
    comment_ = typed;
    busy_ = false;
    at(Part::txtEditor).visible = false;
    at(Part::lblCommentD).visible = true;
    events_.CommentChanged();
}

void DisplayControlModel::initProperties() {
    fileName_ = "file name";
    comment_ = "comment";
    busy_ = false;
    focusColor_ = 0;
    resolution_ = kDesignResolution;
    pictureVisible_ = true;
}

void DisplayControlModel::readProperties(const PropertyBag& bag) {
    picture_ = bag.read<PictureRef>("Picture", nullptr);
    centrePicture();
    fileName_ = bag.read<std::string>("FileName", "file name");
    comment_ = bag.read<std::string>("Comment", "comment");
    at(Part::txtEditor).caption = comment_;
    at(Part::lblCommentD).caption = comment_;
    at(Part::lblFileD).caption = fileName_;
    busy_ = bag.read<bool>("IsBusy", false);
    focusColor_ = bag.read<std::uint32_t>("FocusColor", 0);
    at(Part::lblFileD).foreColor = bag.read<std::uint32_t>("FileNameColor", kButtonText);
    const OleColor fore = bag.read<std::uint32_t>("ForeColor", kButtonText);
    at(Part::lblFile).foreColor = fore;
    at(Part::lblComment).foreColor = fore;
    at(Part::lblCommentD).foreColor = fore;
    resolution_ = bag.read<std::int16_t>("Resolution", kDesignResolution);
    pictureVisible_ = bag.read<bool>("PictureVisible", true);
    at(Part::lblCommentD).backColor = bag.read<std::uint32_t>("CommentColor", kCommentBackColor);
}

void DisplayControlModel::writeProperties(PropertyBag& bag) const {
    if (picture_) {
        bag.write("Picture", picture_);
    } else {
        bag.write("Picture", std::monostate{});
    }
    bag.write("FileName", fileName_);
    bag.write("Comment", comment_);
    bag.write("IsBusy", busy_);
    bag.write("FocusColor", focusColor_);
    bag.write("FileNameColor", FileNameColor());
    bag.write("ForeColor", ForeColor());
    bag.write("Resolution", resolution_);
    bag.write("PictureVisible", pictureVisible_);
    bag.write("CommentColor", CommentColor());
}

}  // namespace zim
