// The command line's side of a Run build: reading options, the codec choice per container,
// and the host's overwrite question and messages.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_build_host.h"
#include "cli/command_options.h"

namespace quillfen {
namespace {

struct Args {
    std::string output;
    std::optional<int> count;
    bool flag = false;
};

constexpr std::array<CommandOption<Args>, 3> kOptions = {{
    {"--output", "-o", "FILE", "out",
     [](Args& a, std::string_view v) { return !(a.output = v).empty(); }},
    {"--count", "", "N", "count",
     [](Args& a, std::string_view v) { return (a.count = readWholeNumber<int>(v)).has_value(); }},
    {"--flag", "-f", "", "flag", [](Args& a, std::string_view) { return a.flag = true; }},
}};

std::string read(const CommandArgs& list, Args& args, std::string& script) {
    return readCommandOptions<Args>(list, kOptions, args, script);
}

TEST(CommandOptions, ValuesFollowTheirOptionOrAnEqualsSign) {
    Args args;
    std::string script;
    EXPECT_EQ(read({"-o", "a.avi", "s.txt", "--count=12", "-f"}, args, script), "");
    EXPECT_EQ(script, "s.txt");
    EXPECT_EQ(args.output, "a.avi");
    EXPECT_EQ(args.count, 12);
    EXPECT_TRUE(args.flag);
}

TEST(CommandOptions, MistakesAreNamed) {
    Args args;
    std::string script;
    EXPECT_EQ(read({"s.txt", "--count"}, args, script), "--count needs a value");
    script.clear();
    EXPECT_EQ(read({"s.txt", "--count", "12x"}, args, script), "bad value '12x' for --count");
    script.clear();
    EXPECT_EQ(read({"s.txt", "--nope"}, args, script), "unknown option --nope");
    script.clear();
    EXPECT_EQ(read({"a.txt", "b.txt"}, args, script), "more than one Script given");
    script.clear();
    EXPECT_EQ(read({"--flag=1", "s.txt"}, args, script), "--flag takes no value");
    script.clear();
    EXPECT_EQ(read({"-f"}, args, script), "no Script given");
}

TEST(CommandOptions, HelpIsAskedForAnywhereInTheArguments) {
    EXPECT_TRUE(asksForHelp(std::vector<std::string>{"s.txt", "--help"}));
    EXPECT_TRUE(asksForHelp(std::vector<std::string>{"-h"}));
    EXPECT_FALSE(asksForHelp(std::vector<std::string>{"s.txt", "--helpful", "-hx"}));
}

TEST(CodecChoiceFor, EachContainerGetsItsDefaultAndGivenValuesWin) {
    EXPECT_EQ(codecChoiceFor("/x/m.avi", {}).codec, "xvid");
    EXPECT_EQ(codecChoiceFor("m.MP4", {}).codec, "h264");
    EXPECT_EQ(codecChoiceFor("m.wmv", {}).codec, "wmv2");
    EXPECT_EQ(codecChoiceFor("m.unknown", {}).codec, "");
    CodecRequest request{
        .name = "mjpeg", .quality = 40, .keyFrameInterval = std::nullopt, .dataRateKbps = 900};
    CodecChoice choice = codecChoiceFor("m.avi", request);
    EXPECT_EQ(choice.codec, "mjpeg");
    EXPECT_EQ(choice.quality, 40);
    EXPECT_EQ(choice.keyFrameInterval, defaultCodecChoice("mjpeg").keyFrameInterval);
    EXPECT_EQ(choice.dataRateKbps, 900);
}

class Lines : public ScriptLines {
  public:
    int lineCount() const override { return 1; }
    std::string_view line(int) const override { return "pic.jpg*2"; }
};

template <class Change>
CliHostOptions options(Change change) {
    CliHostOptions o;
    change(o);
    return o;
}

struct HostFixture {
    explicit HostFixture(CliHostOptions options) : host(std::move(options), lines, out, err) {}
    Lines lines;
    std::ostringstream out;
    std::ostringstream err;
    CliBuildHost host;
};

TEST(CliBuildHost, WithoutATerminalAnExistingFileIsKeptWithAMessage) {
    HostFixture f(options([](CliHostOptions& o) { o.movieFile = "m.avi"; }));
    EXPECT_EQ(f.host.askOverwrite("question", "title"), OverwriteAnswer::Cancel);
    EXPECT_NE(f.err.str().find("'m.avi' already exists; give -y or --overwrite"),
              std::string::npos);
    HostFixture allowed(options([](CliHostOptions& o) { o.overwrite = true; }));
    EXPECT_EQ(allowed.host.askOverwrite("question", "title"), OverwriteAnswer::Yes);
}

TEST(CliBuildHost, OnATerminalTheAnswerDecides) {
    for (auto [typed, expected] :
         {std::pair{"y\n", OverwriteAnswer::Yes}, std::pair{"Yes\n", OverwriteAnswer::Yes},
          std::pair{"n\n", OverwriteAnswer::No}, std::pair{"c\n", OverwriteAnswer::Cancel},
          std::pair{"", OverwriteAnswer::Cancel}}) {
        std::istringstream answers(typed);
        HostFixture f(options([&](CliHostOptions& o) {
            o.interactive = true;
            o.answers = &answers;
        }));
        EXPECT_EQ(f.host.askOverwrite("Movie file already exists.", "Caution!"), expected) << typed;
        EXPECT_NE(f.err.str().find("Movie file already exists. [y]es, [n]o, [c]ancel: "),
                  std::string::npos);
    }
}

TEST(CliBuildHost, ThereIsNoFileChooserButTheMessageSaysWhy) {
    HostFixture none(CliHostOptions{});
    EXPECT_FALSE(none.host.chooseMovieFile("title"));
    EXPECT_NE(none.err.str().find("no movie file: give -o or a moviefile command"),
              std::string::npos);

    std::istringstream answers("n\n");
    HostFixture declined(options([&](CliHostOptions& o) {
        o.interactive = true;
        o.answers = &answers;
    }));
    declined.host.askOverwrite("q", "t");
    EXPECT_FALSE(declined.host.chooseMovieFile("title"));
    EXPECT_NE(declined.err.str().find("the movie file was kept"), std::string::npos);
}

TEST(CliBuildHost, CtrlCIsReportedAsAStopRequest) {
    std::atomic<bool> flag{false};
    HostFixture f(options([&](CliHostOptions& o) { o.stopFlag = &flag; }));
    EXPECT_FALSE(f.host.pumpEvents());
    flag = true;
    EXPECT_TRUE(f.host.pumpEvents());
}

}  // namespace
}  // namespace quillfen
