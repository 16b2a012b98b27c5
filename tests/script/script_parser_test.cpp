#include "script/script_parser.h"
#include "support/script_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillfen {
namespace {

using Lines = testing::ScriptText;

struct Built {
    Command code;
    int line;
    std::string text;  // parameters, or the picture name
    int frames;
};

class RecordingFactory : public ElementFactory {
  public:
    BuiltElement buildElement(Command code, int line, const MovieSettings&,
                              std::string_view parameters) override {
        built.push_back({code, line, std::string(parameters), 0});
        return result(kindOf(code));
    }
    BuiltElement buildPicture(int line, const MovieSettings&, std::string_view name,
                              int frames) override {
        built.push_back({Command::Picture, line, std::string(name), frames});
        if (name.find("missing") != std::string_view::npos) {
            return {false, "Error: picture '" + std::string(name) + "' doesn't exist.",
                    ElementKind::Source};
        }
        return result(ElementKind::Source);
    }
    bool folderExists(std::string_view folder, const MovieSettings&) override {
        return folder.find("nowhere") == std::string_view::npos;
    }

    static ElementKind kindOf(Command code) {
        switch (code) {
            case Command::Transition:
                return ElementKind::Transition;
            case Command::Pip:
                return ElementKind::Pip;
            case Command::Text:
                return ElementKind::Text;
            case Command::Frame:
                return ElementKind::Frame;
            default:
                return ElementKind::Sequence;
        }
    }
    BuiltElement result(ElementKind kind) { return {true, warningText, kind}; }

    std::vector<Built> built;
    std::string warningText;
};

class RecordingListener : public ParseListener {
  public:
    void warning(std::string_view text) override { warnings.emplace_back(text); }
    void lineError(int line, std::string_view text) override {
        errorLine = line;
        error = text;
    }
    void movieFileChanged(std::string_view name) override { movieFile = name; }

    std::vector<std::string> warnings;
    int errorLine = -1;
    std::string error;
    std::string movieFile;
};

struct Parsed {
    ParseResult result;
    MovieSettings settings;
    RecordingFactory factory;
    RecordingListener listener;
};

std::unique_ptr<Parsed> parse(const Lines& lines) {
    auto p = std::make_unique<Parsed>();
    p->result = parseScript(lines, p->settings, p->factory, p->listener);
    return p;
}

TEST(SplitScriptLine, ClassifiesPictureAndCommandLines) {
    SplitLine picture = splitScriptLine(" ;a.jpg");
    EXPECT_TRUE(picture.ok);
    EXPECT_EQ(picture.code, Command::Picture);
    EXPECT_EQ(picture.parameters, " ;a.jpg");

    SplitLine command = splitScriptLine(">RESIZE=720x576=x");
    EXPECT_TRUE(command.ok);
    EXPECT_EQ(command.code, Command::Resize);
    EXPECT_EQ(command.word, "RESIZE");
    EXPECT_EQ(command.parameters, "720x576=x");
}

TEST(SplitScriptLine, RejectsMalformedCommands) {
    EXPECT_EQ(splitScriptLine(">stop").message, kSyntaxErrorText);
    EXPECT_EQ(splitScriptLine(">stop=").message, kSyntaxErrorText);
    EXPECT_EQ(splitScriptLine("> resize=1x1").message, "Unknown command found: ' resize'");
    EXPECT_EQ(splitScriptLine(">resize =1x1").message, "Unknown command found: 'resize '");
}

TEST(ParseScript, EmptyCommentOnlyAndStopScriptsSucceedWithoutElements) {
    for (const Lines& lines :
         {Lines{}, Lines{"", ";comment", ""}, Lines{">stop=now", ">bad", "x"}}) {
        auto p = parse(lines);
        EXPECT_TRUE(p->result.succeeded);
        EXPECT_TRUE(p->factory.built.empty());
        EXPECT_EQ(p->listener.errorLine, -1);
    }
}

TEST(ParseScript, FirstErrorMarksItsLineAndKeepsEarlierElements) {
    auto p = parse({"a.jpg", "", ";c", "b.jpg", ">what=1", "c.jpg"});
    EXPECT_FALSE(p->result.succeeded);
    EXPECT_EQ(p->listener.errorLine, 4);
    EXPECT_EQ(p->listener.error, "Unknown command found: 'what'");
    ASSERT_EQ(p->factory.built.size(), 2u);
    EXPECT_EQ(p->factory.built[1].line, 3);

    auto q = parse({"a.jpg", "missing.jpg", "c.jpg"});
    EXPECT_EQ(q->listener.errorLine, 1);
    EXPECT_EQ(q->listener.error, "Error: picture 'missing.jpg' doesn't exist.");
}

TEST(ParseScript, ValidElementWithMessageIsAWarning) {
    Parsed p;
    p.factory.warningText = "note";
    p.result = parseScript(Lines{"a.jpg"}, p.settings, p.factory, p.listener);
    EXPECT_TRUE(p.result.succeeded);
    EXPECT_EQ(p.listener.warnings, std::vector<std::string>{"note"});
}

TEST(ParseScript, PictureDurationsAndNames) {
    auto p = parse({"a.jpg*0.01", "b.jpg*0.5", "c.jpg  \t*2", " d.jpg", "e*f.jpg*x", "g.jpg*-3"});
    ASSERT_TRUE(p->result.succeeded);
    const auto& b = p->factory.built;
    EXPECT_EQ(b[0].frames, 1);
    EXPECT_EQ(b[1].frames, 13);
    EXPECT_EQ(b[2].text, "c.jpg");
    EXPECT_EQ(b[2].frames, 50);
    EXPECT_EQ(b[3].text, " d.jpg");
    EXPECT_EQ(b[3].frames, 1);
    EXPECT_EQ(b[4].text, "e*f.jpg");
    EXPECT_EQ(b[5].frames, 1);
}

TEST(ParseScript, OnceCommandsKeepTheFirstValueAndWarn) {
    auto p = parse({">resize=720x576", ">resize=1x1", ">RESIZEMODE=3", ">resizemode=4"});
    EXPECT_EQ(p->settings.resizeWidth, 720);
    EXPECT_EQ(p->settings.resizeHeight, 576);
    EXPECT_EQ(p->settings.imageOptions.resizeMode, 3);
    EXPECT_EQ(p->listener.warnings,
              (std::vector<std::string>{
                  "Warning: Command 'Resize' already defined, extraneous commands ignored.",
                  "Warning: Command 'ResizeMode' already defined, extraneous commands ignored."}));

    auto upper = parse({">resize=720X576", ">frame=red|1"});
    EXPECT_EQ(upper->settings.resizeWidth, 0);
    EXPECT_EQ(upper->settings.resizeHeight, 720);
    EXPECT_TRUE(upper->result.succeeded);  // still counts as the one resize
}

TEST(ParseScript, DurationLocksTheFrameRate) {
    auto p = parse({"a.jpg*2", ">framerate=30", "b.jpg*2"});
    EXPECT_EQ(p->settings.frameRate, 25.0);
    EXPECT_EQ(p->factory.built[1].frames, 50);
    EXPECT_EQ(p->listener.warnings.size(), 1u);

    auto q = parse({"a.jpg", ">framerate=29.97", "b.jpg*1"});
    EXPECT_DOUBLE_EQ(q->settings.frameRate, 29.97);
    EXPECT_EQ(q->factory.built[1].frames, 30);
}

TEST(ParseScript, NonPositiveOrInfiniteFrameRateIsAnError) {
    for (const char* rate :
         {">framerate=0", ">framerate=-5", ">framerate=fast", ">framerate=1e999"}) {
        auto p = parse({"a.jpg", rate});
        EXPECT_FALSE(p->result.succeeded) << rate;
        EXPECT_EQ(p->listener.errorLine, 1);
        EXPECT_EQ(p->listener.error, "Error: frame rate must be a positive number.");
    }
}

TEST(ParseScript, GlobalValues) {
    auto p = parse({">flipv=1,0", ">mirror=1", ">stereo=2", ">convert=20", ">transpose=1",
                    ">crop=::t|x", ">background=#FF8000", ">debug=xwTX"});
    ASSERT_TRUE(p->result.succeeded);
    const ImageOptions& o = p->settings.imageOptions;
    EXPECT_EQ(o.flipV, 1);
    EXPECT_EQ(o.mirrorLeft, 1);
    EXPECT_EQ(o.mirrorRight, 0);
    EXPECT_EQ(p->settings.stereo, 0);
    EXPECT_EQ(p->settings.convert, 20);
    EXPECT_EQ(o.transpose, 1);
    EXPECT_EQ(o.crop, 't');
    EXPECT_EQ(o.background, makeColour(255, 128, 0));
    EXPECT_EQ(p->result.debugFlags, kDebugTransitions | kDebugCaption);
}

TEST(ParseScript, SkippedBlocksAreSplitButNotExecuted) {
    auto p = parse(
        {">skip=1", "missing.jpg", ">moviefile=x.avi", ">resize=1x1", ">skip=0", ">resize=2x2"});
    EXPECT_TRUE(p->result.succeeded);
    EXPECT_TRUE(p->factory.built.empty());
    EXPECT_TRUE(p->listener.movieFile.empty());
    EXPECT_EQ(p->settings.resizeWidth, 2);

    auto q = parse({">skip=1", ">nonsense=1", ">skip=0"});
    EXPECT_EQ(q->listener.errorLine, 1);
}

TEST(ParseScript, PathAndMovieFile) {
    auto p = parse({"a.jpg", ">path=pics", "b.jpg", ">moviefile=out.avi",
                    ">path=C:", ">moviefile=/abs/m.avi", ">moviefile=D:\\m.avi"});
    ASSERT_TRUE(p->result.succeeded);
    EXPECT_EQ(p->settings.pictureFolder, "C:/");
    EXPECT_EQ(p->listener.movieFile, "D:\\m.avi");
    auto q = parse({">path=pics\\", ">moviefile=out.avi"});
    EXPECT_EQ(q->listener.movieFile, "pics\\out.avi");

    auto bad = parse({">path=nowhere"});
    EXPECT_EQ(bad->listener.error, "Error: Specified path 'nowhere/' doesn't exist.");
}

TEST(ParseScript, OrderingRules) {
    auto frame = parse({">frame=red|1"});
    EXPECT_EQ(frame->listener.error,
              "Error: Resize command must be defined before using the 'Frame' command.");

    const std::string twoTransitions = "Error: cannot have two consecutive transitions.";
    auto pipThenTransition = parse({"a.jpg", ">pip=1,1,1", ">transition=Fade"});
    EXPECT_EQ(pipThenTransition->listener.error, twoTransitions);
    EXPECT_EQ(pipThenTransition->listener.errorLine, 2);

    // A Text between them would leave the second one linked to the first.
    auto throughText = parse({"a.jpg", ">transition=Fade", ">text=hi", ">transition=Fade"});
    EXPECT_EQ(throughText->listener.error, twoTransitions);
    EXPECT_EQ(throughText->listener.errorLine, 3);

    auto separated = parse({"a.jpg", ">transition=Fade", "b.jpg", ">text=hi", ">pip=1"});
    EXPECT_TRUE(separated->result.succeeded);
}

}  // namespace
}  // namespace quillfen
