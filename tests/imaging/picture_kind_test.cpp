#include "imaging/picture_kind.h"

#include <gtest/gtest.h>

namespace quillfen {
namespace {

TEST(PictureKindTest, ExtensionsInAnyCase) {
    EXPECT_EQ(PictureKindFromName("PICTURE.JPEG"), PictureKind::JPEG);
    EXPECT_EQ(PictureKindFromName("a.Jps"), PictureKind::JPEG);
    EXPECT_EQ(PictureKindFromName("b.jpe"), PictureKind::JPEG);
    EXPECT_EQ(PictureKindFromName("c.jpg"), PictureKind::JPEG);
    EXPECT_EQ(PictureKindFromName("x.PNG"), PictureKind::PNG);
    EXPECT_EQ(PictureKindFromName("archive.tar.bmp"), PictureKind::BMP);
    EXPECT_EQ(static_cast<int>(PictureKind::PNG), 4);
}

TEST(PictureKindTest, UnknownOrMissingExtensionIsNone) {
    EXPECT_EQ(PictureKindFromName("noextension"), PictureKind::none);
    EXPECT_EQ(PictureKindFromName("anim.gif"), PictureKind::none);
    EXPECT_EQ(PictureKindFromName("photo.jpg.txt"), PictureKind::none);
    EXPECT_EQ(PictureKindFromName(""), PictureKind::none);
}

}  // namespace
}  // namespace quillfen
