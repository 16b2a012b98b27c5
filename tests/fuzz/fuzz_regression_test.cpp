// Every file under regressions/TARGET/ once made fuzz target TARGET crash, hang or leak; each
// must now run through it cleanly (the sanitizers watch). Small hand-made inputs go through
// every target too, so a target that breaks is noticed before the fuzzer runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_targets.h"

namespace quillfen::fuzz {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int run(const NamedTarget& target, const std::string& bytes) {
    return target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(FuzzRegressions, EveryFindingRunsCleanlyThroughItsTarget) {
    const fs::path root = QUILLFEN_FUZZ_REGRESSIONS;
    for (const fs::directory_entry& folder : fs::directory_iterator(root)) {
        if (!folder.is_directory()) continue;
        const std::string name = folder.path().filename().string();
        const NamedTarget* target = nullptr;
        for (const NamedTarget& candidate : kFuzzTargets)
            if (candidate.name == name) target = &candidate;
        ASSERT_NE(target, nullptr) << "no fuzz target named " << name;
        for (const fs::directory_entry& file : fs::directory_iterator(folder.path())) {
            SCOPED_TRACE(file.path().string());
            EXPECT_EQ(run(*target, readBytes(file.path())), 0);
        }
    }
}

TEST(FuzzRegressions, EveryTargetTakesEmptyShortAndTextInputs) {
    const std::vector<std::string> inputs = {
        "",
        std::string(1, '\0'),
        "BM",
        "\x89PNG\r\n\x1a\n",
        "\xff\xd8\xff",
        "RIFF\0\0\0\0AVI ",
        ">resize=64x48\n>framerate=10\na.jpg*1\n>transition=Fade|0.5\nb.png*1\n"};
    for (const NamedTarget& target : kFuzzTargets) {
        for (const std::string& input : inputs) {
            SCOPED_TRACE(std::string(target.name) + " on " + std::to_string(input.size()) +
                         " bytes");
            EXPECT_EQ(run(target, input), 0);
        }
    }
}

}  // namespace
}  // namespace quillfen::fuzz
