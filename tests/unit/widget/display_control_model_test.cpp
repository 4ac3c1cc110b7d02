#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "display_control_model.h"

namespace {

using zim::Part;
using zim::Rect;

// Widths that match the design at 10 pt for the two captions; other texts are 10 twips per
// character and point (12 in bold), so 8 pt texts are narrower than 10 pt ones.
zim::TextExtent fakeMeasure(std::string_view text, bool bold, double size) {
    double width = 0;
    if (!bold && text == zim::kFileCaption) {
        width = 100.5 * size;
    } else if (!bold && text == zim::kCommentCaption) {
        width = 94.5 * size;
    } else {
        width = static_cast<double>(text.size()) * (bold ? 12 : 10) * size;
    }
    return {width, 24 * size};
}

struct Recorder : zim::Events, zim::View {
    std::vector<std::string> log;
    std::int16_t keyReplacement = -1;
    void MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
        log.push_back("MouseDown " + std::to_string(button) + " " + std::to_string(shift) + " " +
                      std::to_string(static_cast<int>(x)) + " " +
                      std::to_string(static_cast<int>(y)));
    }
    void CommentChanged() override { log.push_back("CommentChanged"); }
    void KeyPress(std::int16_t& keyAscii) override {
        log.push_back("KeyPress " + std::to_string(keyAscii));
        if (keyReplacement >= 0) {
            keyAscii = keyReplacement;
        }
    }
    void DblClick() override { log.push_back("DblClick"); }
    void Click() override { log.push_back("Click"); }
    void PropertyChanged(std::string_view name) override {
        log.push_back("changed " + std::string(name));
    }
    void setFocus(Part p) override { log.push_back(std::string("focus ") + zim::partName(p)); }
};

class TileModel : public ::testing::Test {
  protected:
    Recorder rec;
    zim::DisplayControlModel model{fakeMeasure, rec, rec};
    Rect rect(Part p) const { return model.part(p).rect; }
};

TEST_F(TileModel, StartUpLayoutPutsValueLabelsAfterCaptionsAndHidesTheEditor) {
    EXPECT_EQ(rect(Part::pbxDisplay), (Rect{330, 90, 3840, 2175}));
    EXPECT_EQ(rect(Part::lblFile), (Rect{120, 2400, 1005, 240}));
    EXPECT_EQ(rect(Part::lblFileD), (Rect{1125, 2400, 3255, 240}));
    EXPECT_EQ(rect(Part::lblComment), (Rect{135, 2760, 945, 240}));
    EXPECT_EQ(rect(Part::lblCommentD), (Rect{1080, 2760, 3285, 240}));
    EXPECT_EQ(rect(Part::txtEditor), (Rect{1050, 2730, 3285, 240}));
    EXPECT_FALSE(model.part(Part::txtEditor).visible);
    EXPECT_TRUE(model.part(Part::lblCommentD).visible);
    EXPECT_FALSE(model.part(Part::lblTEST).visible);
    EXPECT_FALSE(model.part(Part::lblTEST2).visible);
    // Value labels end as far right of the picture area as their captions begin left of it.
    const double pictureRight = 330 + 3840;
    EXPECT_DOUBLE_EQ(1125 + 3255 - pictureRight, 330 - 120);
    EXPECT_DOUBLE_EQ(model.part(Part::lblFile).fontSize, 9.75);
    EXPECT_TRUE(model.part(Part::lblFileD).bold);
    EXPECT_FALSE(model.part(Part::lblCommentD).bold);
    EXPECT_EQ(model.part(Part::lblFile).caption, "File Name: ");
    EXPECT_EQ(model.part(Part::lblComment).caption, "Comment:  ");
    EXPECT_EQ(model.fileNameWidthLimit(), 0);
    EXPECT_EQ(model.commentWidthLimit(), 0);
    EXPECT_EQ(model.FileName(), "file name");
    EXPECT_EQ(model.Comment(), "comment");
    EXPECT_EQ(model.Resolution(), 1024);
    EXPECT_TRUE(model.PictureVisible());
    EXPECT_FALSE(model.IsBusy());
}

TEST(TileFontSize, ThresholdsAroundTheSmallerScreens) {
    EXPECT_EQ(zim::fontSizeForResolution(1024), 10);
    EXPECT_EQ(zim::fontSizeForResolution(850), 10);
    EXPECT_EQ(zim::fontSizeForResolution(849), 8);
    EXPECT_EQ(zim::fontSizeForResolution(800), 8);
    EXPECT_EQ(zim::fontSizeForResolution(751), 8);
    EXPECT_EQ(zim::fontSizeForResolution(750), 10);
    EXPECT_EQ(zim::fontSizeForResolution(749), 7);
    EXPECT_EQ(zim::fontSizeForResolution(640), 7);
}

TEST_F(TileModel, Resolution1024KeepsTheDesignAndSetsLimits) {
    model.setResolution(1024);
    EXPECT_EQ(rect(Part::pbxDisplay), (Rect{330, 90, 3840, 2175}));
    EXPECT_EQ(rect(Part::lblFile), (Rect{120, 2400, 1005, 240}));
    EXPECT_EQ(rect(Part::lblFileD), (Rect{1125, 2400, 3255, 240}));
    EXPECT_EQ(rect(Part::lblComment), (Rect{135, 2760, 945, 240}));
    EXPECT_EQ(model.fileNameWidthLimit(), 3255);
    EXPECT_EQ(model.commentWidthLimit(), 3285);
    EXPECT_EQ(rect(Part::lblCommentD), (Rect{1080, 2760, 821.25, 240}));
    // The editor now lies exactly on the comment value, without the start-up offset.
    EXPECT_EQ(rect(Part::txtEditor), (Rect{1080, 2760, 3285, 240}));
    for (Part p :
         {Part::lblFile, Part::lblFileD, Part::lblComment, Part::lblCommentD, Part::txtEditor}) {
        EXPECT_EQ(model.part(p).fontSize, 10) << zim::partName(p);
    }
    EXPECT_THAT(rec.log, ::testing::ElementsAre("changed Resolution"));
}

TEST_F(TileModel, Resolution800ScalesEveryRectangleAndAutoSizesTheCaptions) {
    model.setResolution(800);
    const double f = 800.0 / 1024;
    EXPECT_EQ(rect(Part::pbxDisplay), (Rect{330 * f, 90 * f, 3840 * f, 2175 * f}));
    // Captions keep their scaled position and take the width of their text at 8 pt.
    EXPECT_EQ(rect(Part::lblFile), (Rect{120 * f, 2400 * f, 804, 192}));
    EXPECT_EQ(rect(Part::lblFileD), (Rect{120 * f + 804, 2400 * f, 3255 * f, 192}));
    EXPECT_EQ(rect(Part::lblComment), (Rect{135 * f, 2760 * f, 756, 192}));
    EXPECT_EQ(model.fileNameWidthLimit(), 2543);  // 2542.97 rounded
    EXPECT_EQ(model.commentWidthLimit(), 2566);   // 2566.41 rounded
    EXPECT_DOUBLE_EQ(rect(Part::lblCommentD).width, 2566 / 4.0);
    EXPECT_DOUBLE_EQ(rect(Part::lblCommentD).left, 135 * f + 756);
    EXPECT_EQ(rect(Part::txtEditor).width, 2566.40625);  // copied before the quarter cut
    EXPECT_EQ(model.part(Part::lblFileD).fontSize, 8);
    EXPECT_EQ(model.part(Part::txtEditor).fontSize, 8);
}

TEST_F(TileModel, Resolution749And750GiveSevenAndTenPoints) {
    model.setResolution(749);
    EXPECT_EQ(model.part(Part::lblComment).fontSize, 7);
    zim::DisplayControlModel other(fakeMeasure, rec, rec);
    other.setResolution(750);
    EXPECT_EQ(other.part(Part::lblComment).fontSize, 10);
    zim::DisplayControlModel third(fakeMeasure, rec, rec);
    third.setResolution(850);
    EXPECT_EQ(third.part(Part::lblCommentD).fontSize, 10);
}

TEST_F(TileModel, SecondResolutionCompoundsTheScale) {
    model.setResolution(512);
    model.setResolution(512);
    EXPECT_EQ(rect(Part::pbxDisplay), (Rect{330 / 4.0, 90 / 4.0, 3840 / 4.0, 2175 / 4.0}));
    EXPECT_DOUBLE_EQ(rect(Part::lblFile).left, 30);
    EXPECT_DOUBLE_EQ(rect(Part::lblFile).top, 600);
    EXPECT_DOUBLE_EQ(rect(Part::lblFileD).width, 3255 / 4.0);
    // The comment label was cut to a quarter the first time, then scaled and cut again.
    EXPECT_EQ(model.commentWidthLimit(), 205);  // 1642.5 rounds to 1642, a quarter, halved
    EXPECT_EQ(model.Resolution(), 512);
}

TEST_F(TileModel, ValuesWrittenBeforeResolutionCollapseTheLabels) {
    model.setFileName("report.doc");
    model.setComment("a note");
    EXPECT_EQ(rect(Part::lblFileD).width, 0);
    EXPECT_EQ(rect(Part::lblCommentD).width, 0);
    EXPECT_EQ(model.part(Part::lblFileD).caption, "report.doc");
}

TEST_F(TileModel, FileNameShrinksToItsTextOrIsCutAtTheLimit) {
    model.setResolution(1024);
    model.setFileName("  a.doc");  // not trimmed: 7 characters in bold 10 pt
    EXPECT_EQ(model.FileName(), "  a.doc");
    EXPECT_DOUBLE_EQ(rect(Part::lblFileD).width, 7 * 120);
    EXPECT_EQ(model.part(Part::lblTEST).caption, "  a.doc");

    model.setFileName(std::string(40, 'x'));  // 4800 > 3255
    EXPECT_DOUBLE_EQ(rect(Part::lblFileD).width, 3255);
    EXPECT_EQ(model.part(Part::lblFileD).caption, std::string(40, 'x'));

    model.setFileName(std::string(27, 'x'));  // 3240: fits
    EXPECT_DOUBLE_EQ(rect(Part::lblFileD).width, 3240);
}

TEST_F(TileModel, FileNameIsMeasuredInTheFontItIsShownIn) {
    model.setResolution(800);  // 8 pt bold: 96 twips a character
    model.setFileName("abcd");
    EXPECT_DOUBLE_EQ(rect(Part::lblFileD).width, 4 * 96);
}

TEST(TileMeasuring, AValueWrittenAgainIsNotMeasuredAgainButANewTextOrFontIs) {
    std::vector<std::string> measured;
    Recorder rec;
    zim::DisplayControlModel model{[&](std::string_view text, bool bold, double size) {
                                       measured.push_back(std::string(text));
                                       return fakeMeasure(text, bold, size);
                                   },
                                   rec, rec};
    model.setResolution(1024);
    measured.clear();
    model.setFileName("a.doc");
    model.setComment("call Bob");
    model.setFileName("a.doc");
    model.setComment("call Bob");
    EXPECT_EQ(measured, (std::vector<std::string>{"a.doc", "call Bob"}));
    EXPECT_DOUBLE_EQ(model.part(Part::lblFileD).rect.width, 5 * 120);

    model.setFileName("b.doc");
    model.setComment("");
    model.setResolution(800);  // a smaller font: the captions are measured anew
    model.setFileName("b.doc");
    EXPECT_EQ(measured,
              (std::vector<std::string>{"a.doc", "call Bob", "b.doc", "", zim::kFileCaption,
                                        zim::kCommentCaption, "b.doc"}));
    const zim::Constituent& caption = model.part(Part::lblFile);
    EXPECT_DOUBLE_EQ(caption.rect.width,
                     fakeMeasure(zim::kFileCaption, false, caption.fontSize).width);
}

TEST_F(TileModel, CommentWidthIsAQuarterOfTheLimitAtLeast) {
    model.setResolution(1024);  // limit 3285, quarter 821.25
    model.setComment("");
    EXPECT_DOUBLE_EQ(rect(Part::lblCommentD).width, 821.25);
    model.setComment("abcdefgh");  // 800: still under a quarter
    EXPECT_DOUBLE_EQ(rect(Part::lblCommentD).width, 821.25);
    model.setComment("abcdefghi");  // 900
    EXPECT_DOUBLE_EQ(rect(Part::lblCommentD).width, 900);
    model.setComment(std::string(32, 'c'));  // 3200 fits
    EXPECT_DOUBLE_EQ(rect(Part::lblCommentD).width, 3200);
    model.setComment(std::string(33, 'c'));  // 3300: cut at the limit
    EXPECT_DOUBLE_EQ(rect(Part::lblCommentD).width, 3285);
}

TEST_F(TileModel, CommentWrittenByTheHostIsTrimmedAndLoadsTheEditor) {
    model.setResolution(1024);
    model.setComment("   draft  ");
    EXPECT_EQ(model.Comment(), "draft");
    EXPECT_EQ(model.part(Part::lblCommentD).caption, "draft");
    EXPECT_EQ(model.editorText(), "draft");
    EXPECT_DOUBLE_EQ(rect(Part::lblCommentD).width, 821.25);
    EXPECT_EQ(model.part(Part::lblTEST2).caption, "draft");
}

TEST_F(TileModel, CommentInDesignModeFailsWith382AndChangesNothing) {
    model.setResolution(1024);
    model.setComment("kept");
    rec.log.clear();
    model.setUserMode(false);
    try {
        model.setComment("new");
        FAIL() << "no error";
    } catch (const snapdesk::RuntimeError& error) {
        EXPECT_EQ(error.number, 382);
    }
    EXPECT_EQ(model.Comment(), "kept");
    EXPECT_EQ(model.part(Part::lblCommentD).caption, "kept");
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(TileModel, PictureVisibleSwitchesBetweenPictureRectangleAndIconSquare) {
    model.setResolution(512);
    model.setPictureVisible(false);
    EXPECT_EQ(rect(Part::pbxDisplay), (Rect{950, 545, 500, 500}));
    EXPECT_FALSE(model.PictureVisible());
    model.setPictureVisible(true);
    EXPECT_EQ(rect(Part::pbxDisplay), (Rect{165, 45, 1920, 1087.5}));
    // Before any resolution the design rectangle.
    zim::DisplayControlModel fresh(fakeMeasure, rec, rec);
    fresh.setPictureVisible(false);
    EXPECT_EQ(fresh.part(Part::pbxDisplay).rect, (Rect{1900, 1090, 500, 500}));
}

TEST_F(TileModel, PictureWriteCentresThePictureAreaInTheWidget) {
    struct Pic : zim::PictureObject {};
    model.setWidgetSize(4575, 3135);
    auto picture = std::make_shared<Pic>();
    model.setPicture(picture);
    EXPECT_DOUBLE_EQ(rect(Part::pbxDisplay).left, (4575 - 3840) / 2.0);
    EXPECT_EQ(model.Picture(), picture);
    EXPECT_EQ(picture.use_count(), 2);  // shared with the caller, not copied

    model.setPictureVisible(false);
    model.setPicture(nullptr);  // also centres the icon square
    EXPECT_DOUBLE_EQ(rect(Part::pbxDisplay).left, (4575 - 500) / 2.0);
    EXPECT_EQ(picture.use_count(), 1);
    EXPECT_THAT(rec.log, ::testing::Contains("changed Picture"));
}

TEST_F(TileModel, ColoursReachTheirConstituents) {
    model.setBackColor(0x123456);
    for (Part p :
         {Part::surface, Part::pbxDisplay, Part::lblFile, Part::lblComment, Part::lblFileD}) {
        EXPECT_EQ(model.part(p).backColor, 0x123456u) << zim::partName(p);
    }
    EXPECT_EQ(model.part(Part::lblCommentD).backColor, 0xD0D0D0u);
    EXPECT_EQ(model.part(Part::txtEditor).backColor, 0x80000005u);

    model.setForeColor(0xFF);
    EXPECT_EQ(model.part(Part::lblFile).foreColor, 0xFFu);
    EXPECT_EQ(model.part(Part::lblComment).foreColor, 0xFFu);
    EXPECT_EQ(model.part(Part::lblCommentD).foreColor, 0xFFu);
    EXPECT_EQ(model.part(Part::lblFileD).foreColor, zim::kButtonText);

    model.setFileNameColor(0xFF00);
    EXPECT_EQ(model.FileNameColor(), 0xFF00u);
    EXPECT_EQ(model.ForeColor(), 0xFFu);
    model.setCommentColor(0xEEEEEE);
    EXPECT_EQ(model.part(Part::lblCommentD).backColor, 0xEEEEEEu);
    model.setFocusColor(0xFF0000);
    EXPECT_EQ(model.FocusColor(), 0xFF0000u);  // stored only
    EXPECT_EQ(model.FileNameColor(), 0xFF00u);
    EXPECT_THAT(rec.log, ::testing::ElementsAre("changed BackColor", "changed ForeColor",
                                                "changed FileNameColor", "changed CommentColor",
                                                "changed FocusColor"));
}

TEST_F(TileModel, ClicksGiveTheFocusToThePictureFirstExceptOnTheCommentValue) {
    for (Part p :
         {Part::surface, Part::pbxDisplay, Part::lblFile, Part::lblFileD, Part::lblComment}) {
        rec.log.clear();
        model.click(p);
        EXPECT_THAT(rec.log, ::testing::ElementsAre("focus pbxDisplay", "Click"))
            << zim::partName(p);
    }
    rec.log.clear();
    model.click(Part::txtEditor);
    EXPECT_TRUE(rec.log.empty());
    model.click(Part::lblCommentD);
    EXPECT_THAT(rec.log, ::testing::ElementsAre("focus txtEditor"));
    EXPECT_TRUE(model.editing());
    EXPECT_FALSE(model.part(Part::lblCommentD).visible);
    EXPECT_TRUE(model.part(Part::txtEditor).visible);
    EXPECT_FALSE(model.IsBusy());  // busy comes with the focus, not with the click
}

TEST_F(TileModel, MouseDownAndDblClickComeFromTheListedConstituents) {
    for (Part p : {Part::surface, Part::pbxDisplay, Part::lblFile, Part::lblFileD, Part::lblComment,
                   Part::lblCommentD}) {
        rec.log.clear();
        model.mouseDown(p, 2, 3, 150, 45);
        model.dblClick(p);
        EXPECT_THAT(rec.log, ::testing::ElementsAre("MouseDown 2 3 150 45", "DblClick"))
            << zim::partName(p);
    }
    rec.log.clear();
    model.mouseDown(Part::txtEditor, 1, 0, 0, 0);
    model.dblClick(Part::txtEditor);
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(TileModel, KeyPressComesOnlyFromThePictureArea) {
    std::int16_t key = 13;
    EXPECT_TRUE(model.keyPress(Part::pbxDisplay, key));
    EXPECT_THAT(rec.log, ::testing::ElementsAre("KeyPress 13"));
    rec.keyReplacement = 0;
    key = 65;
    EXPECT_FALSE(model.keyPress(Part::pbxDisplay, key));  // the host dropped it
    rec.log.clear();
    key = 65;
    EXPECT_TRUE(model.keyPress(Part::txtEditor, key));
    key = 27;  // Escape is an ordinary key for the editor
    EXPECT_TRUE(model.keyPress(Part::txtEditor, key));
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(TileModel, EditingEndsOnceWithTheTypedTextUntrimmed) {
    model.setResolution(1024);
    model.setComment("old");
    model.click(Part::lblCommentD);
    model.editorGotFocus();
    EXPECT_TRUE(model.IsBusy());
    model.editorTextChanged("  typed text ");
    rec.log.clear();
    std::int16_t enter = 13;
    EXPECT_FALSE(model.keyPress(Part::txtEditor, enter));
    EXPECT_THAT(rec.log, ::testing::ElementsAre("focus pbxDisplay"));
    EXPECT_TRUE(model.IsBusy());  // until the focus has really left
    model.editorLostFocus();
    EXPECT_THAT(rec.log, ::testing::ElementsAre("focus pbxDisplay", "CommentChanged"));
    EXPECT_EQ(model.Comment(), "  typed text ");
    EXPECT_EQ(model.part(Part::lblCommentD).caption, "  typed text ");
    EXPECT_FALSE(model.IsBusy());
    EXPECT_FALSE(model.editing());
    EXPECT_TRUE(model.part(Part::lblCommentD).visible);
    EXPECT_DOUBLE_EQ(rect(Part::lblCommentD).width, 821.25);  // not re-fitted
}

TEST_F(TileModel, LeavingTheEditorUnchangedStillRaisesCommentChanged) {
    model.setComment("same");
    model.click(Part::lblCommentD);
    model.editorGotFocus();
    rec.log.clear();
    model.editorLostFocus();
    EXPECT_THAT(rec.log, ::testing::ElementsAre("CommentChanged"));
    EXPECT_EQ(model.Comment(), "same");
}

TEST_F(TileModel, HostMayWriteTheBusyFlag) {
    model.setIsBusy(true);
    EXPECT_TRUE(model.IsBusy());
    model.setIsBusy(false);
    EXPECT_FALSE(model.IsBusy());
}

TEST_F(TileModel, PropertiesAreWrittenInOrderWithTheirValues) {
    struct Pic : zim::PictureObject {};
    auto picture = std::make_shared<Pic>();
    model.setResolution(800);
    model.setPicture(picture);
    model.setFileName("f");
    model.setComment("c");
    model.setFocusColor(1);
    model.setFileNameColor(2);
    model.setForeColor(3);
    model.setPictureVisible(false);
    model.setCommentColor(4);
    model.setBackColor(5);
    zim::PropertyBag bag;
    model.writeProperties(bag);
    std::vector<std::string> names;
    for (const auto& entry : bag.entries()) {
        names.push_back(entry.first);
    }
    EXPECT_THAT(names, ::testing::ElementsAre("Picture", "FileName", "Comment", "IsBusy",
                                              "FocusColor", "FileNameColor", "ForeColor",
                                              "Resolution", "PictureVisible", "CommentColor"));
    EXPECT_EQ(bag.read<zim::PictureRef>("Picture", nullptr), picture);
    EXPECT_EQ(bag.read<std::string>("FileName", ""), "f");
    EXPECT_EQ(bag.read<std::string>("Comment", ""), "c");
    EXPECT_EQ(bag.read<bool>("IsBusy", true), false);
    EXPECT_EQ(bag.read<std::uint32_t>("FocusColor", 0), 1u);
    EXPECT_EQ(bag.read<std::uint32_t>("FileNameColor", 0), 2u);
    EXPECT_EQ(bag.read<std::uint32_t>("ForeColor", 0), 3u);
    EXPECT_EQ(bag.read<std::int16_t>("Resolution", 0), 800);
    EXPECT_EQ(bag.read<bool>("PictureVisible", true), false);
    EXPECT_EQ(bag.read<std::uint32_t>("CommentColor", 0), 4u);
}

TEST_F(TileModel, ReadingPropertiesStoresWithoutFittingOrRelayout) {
    model.setResolution(1024);
    const Rect fileValue = rect(Part::lblFileD);
    zim::PropertyBag bag;
    bag.write("FileName", std::string(60, 'x'));
    bag.write("Comment", std::string("  spaced  "));
    bag.write("IsBusy", true);
    bag.write("ForeColor", std::uint32_t{0x0000FF});
    bag.write("Resolution", std::int16_t{640});
    bag.write("PictureVisible", false);
    model.setWidgetSize(4000, 3000);
    model.readProperties(bag);
    EXPECT_EQ(model.FileName(), std::string(60, 'x'));
    EXPECT_EQ(model.part(Part::lblFileD).caption, std::string(60, 'x'));
    EXPECT_EQ(rect(Part::lblFileD), fileValue);  // no width fitting
    EXPECT_EQ(model.Comment(), "  spaced  ");    // no trimming
    EXPECT_EQ(model.editorText(), "  spaced  ");
    EXPECT_TRUE(model.IsBusy());
    EXPECT_EQ(model.Resolution(), 640);
    EXPECT_FALSE(model.PictureVisible());
    EXPECT_EQ(rect(Part::pbxDisplay).width, 3840);                       // no relayout for either
    EXPECT_DOUBLE_EQ(rect(Part::pbxDisplay).left, (4000 - 3840) / 2.0);  // the Picture write
    EXPECT_EQ(model.part(Part::lblComment).foreColor, 0xFFu);
    EXPECT_EQ(model.part(Part::lblCommentD).foreColor, 0xFFu);
    // Absent names take their defaults.
    EXPECT_EQ(model.FocusColor(), 0u);
    EXPECT_EQ(model.FileNameColor(), zim::kButtonText);
    EXPECT_EQ(model.CommentColor(), zim::kCommentBackColor);
    EXPECT_EQ(model.Picture(), nullptr);
}

TEST_F(TileModel, EmptyBagAndFirstTimeInitialisationGiveTheDefaults) {
    model.setResolution(800);
    model.setFileName("x");
    model.setComment("y");
    model.setIsBusy(true);
    model.setPictureVisible(false);
    model.initProperties();
    EXPECT_EQ(model.FileName(), "file name");
    EXPECT_EQ(model.Comment(), "comment");
    EXPECT_FALSE(model.IsBusy());
    EXPECT_EQ(model.Resolution(), 1024);
    EXPECT_TRUE(model.PictureVisible());
    EXPECT_EQ(model.FocusColor(), 0u);

    model.readProperties(zim::PropertyBag{});
    EXPECT_EQ(model.FileName(), "file name");
    EXPECT_EQ(model.part(Part::lblFileD).caption, "file name");
    EXPECT_EQ(model.part(Part::lblCommentD).caption, "comment");
    EXPECT_EQ(model.ForeColor(), zim::kButtonText);
}

TEST_F(TileModel, BackColorIsNotPersisted) {
    model.setBackColor(0x00FF00);
    zim::PropertyBag bag;
    model.writeProperties(bag);
    EXPECT_EQ(bag.find("BackColor"), nullptr);
    EXPECT_EQ(bag.entries().size(), 10u);
}

TEST(TilePropertyBag, WrongTypeOrMissingNameGivesTheFallback) {
    zim::PropertyBag bag;
    bag.write("Resolution", std::string("800"));
    bag.write("A", true);
    bag.write("A", false);  // rewriting keeps the first position
    EXPECT_EQ(bag.read<std::int16_t>("Resolution", 1024), 1024);
    EXPECT_EQ(bag.read<bool>("Missing", true), true);
    EXPECT_EQ(bag.read<bool>("A", true), false);
    EXPECT_EQ(bag.entries().size(), 2u);
}

}  // namespace
