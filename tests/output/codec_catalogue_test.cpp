#include "media/codec_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillfen {
namespace {

TEST(CodecCatalogue, ContainerFollowsTheExtension) {
    EXPECT_EQ(containerForPath("a/b/movie.AVI"), Container::Avi);
    EXPECT_EQ(containerForPath("x.mkv"), Container::Mkv);
    EXPECT_EQ(containerForPath("x.wmv"), Container::Wmv);
    EXPECT_FALSE(containerForPath("movie"));
    EXPECT_FALSE(containerForPath("dir.avi/movie"));
    EXPECT_FALSE(containerForPath("movie.gif"));
}

TEST(CodecCatalogue, EachContainerHasAnAvailableDefaultThatSuitsIt) {
    for (Container c :
         {Container::Avi, Container::Mov, Container::Wmv, Container::Mp4, Container::Mkv}) {
        const CodecInfo* codec = findCodec(defaultCodecName(c));
        ASSERT_NE(codec, nullptr) << containerName(c);
        if (!codecAvailable(*codec)) continue;  // e.g. an FFmpeg without libx264
        std::vector<Container> suits = containersFor(*codec);
        EXPECT_NE(std::find(suits.begin(), suits.end(), c), suits.end()) << containerName(c);
    }
    EXPECT_EQ(defaultCodecName(Container::Avi), "xvid");
    EXPECT_EQ(defaultCodecName(Container::Mp4), "h264");
    EXPECT_EQ(defaultCodecName(Container::Wmv), "wmv2");
}

TEST(CodecCatalogue, RawAndMjpegAreAlwaysThereForAvi) {
    for (std::string_view name : {"raw", "mjpeg"}) {
        EXPECT_EQ(checkCodecChoice("m.avi", defaultCodecChoice(name)), "") << name;
    }
    EXPECT_TRUE(findCodec("raw")->intraOnly);
    EXPECT_FALSE(findCodec("xvid")->intraOnly);
}

TEST(CodecCatalogue, RefusesWhatTheFileCannotHold) {
    std::string refusal = checkCodecChoice("m.mp4", defaultCodecChoice("raw"));
    EXPECT_NE(refusal.find("MP4"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("AVI"), std::string::npos) << refusal;  // where it does fit

    EXPECT_NE(checkCodecChoice("m.avi", defaultCodecChoice("cinepak")).find("unknown codec"),
              std::string::npos);
    EXPECT_NE(checkCodecChoice("m.gif", defaultCodecChoice("raw")), "");

    CodecChoice choice = defaultCodecChoice("mjpeg");
    choice.quality = 101;
    EXPECT_NE(checkCodecChoice("m.avi", choice), "");
    choice = defaultCodecChoice("mjpeg");
    choice.keyFrameInterval = -1;
    EXPECT_NE(checkCodecChoice("m.avi", choice), "");
    choice = defaultCodecChoice("mjpeg");
    choice.dataRateKbps = -5;
    EXPECT_NE(checkCodecChoice("m.avi", choice), "");
}

TEST(CodecCatalogue, DefaultChoiceCarriesTheCodecDefaults) {
    CodecChoice choice = defaultCodecChoice("xvid");
    const CodecInfo* codec = findCodec("xvid");
    EXPECT_EQ(choice.codec, "xvid");
    EXPECT_EQ(choice.quality, codec->defaultQuality);
    EXPECT_EQ(choice.keyFrameInterval, codec->defaultKeyFrameInterval);
    EXPECT_EQ(defaultCodecChoice("nonsense").codec, "nonsense");
}

TEST(CodecCatalogue, ListingHasOneLinePerCodecWithItsContainers) {
    std::vector<std::string> lines = codecListing();
    ASSERT_EQ(lines.size(), codecCatalogue().size());
    EXPECT_EQ(lines[0].rfind("raw", 0), 0u);
    EXPECT_NE(lines[0].find("AVI"), std::string::npos);
    EXPECT_EQ(lines[0].find("MP4"), std::string::npos);
    const std::string& xvid = lines[2];
    EXPECT_EQ(xvid.rfind("xvid", 0), 0u);
    EXPECT_NE(xvid.find("(default for AVI)"), std::string::npos) << xvid;
    for (const std::string& line : lines)
        EXPECT_EQ(line.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace quillfen
