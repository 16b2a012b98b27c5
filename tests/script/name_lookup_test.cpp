#include "base/name_lookup.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace quillfen {
namespace {

TEST(NameLookup, FindsNamesAsWindowsWouldAndPrefersExactMatches) {
    testing::TempFolder temp;
    const std::string& root = temp.path();
    temp.touch("Shows/Beach.JPG");
    temp.touch("Shows/beach.jpg");
    temp.touch("Shows/caf\xC3\xA9.png");
    temp.touch("Shows/Two/x.png");
    temp.touch("Shows/two/X.png");

    // Exact spelling wins over every other match, and costs no listing.
    EXPECT_EQ(FindOnDisk(root + "/Shows/beach.jpg").path, root + "/Shows/beach.jpg");
    EXPECT_TRUE(FindOnDisk(root + "/Shows/beach.jpg").otherMatches.empty());

    // Several matches: the first in byte order, and the others are named.
    DiskName beach = FindOnDisk(root + "/SHOWS/BEACH.jpg");
    EXPECT_EQ(beach.path, root + "/Shows/Beach.JPG");
    EXPECT_EQ(beach.otherMatches, std::vector<std::string>{root + "/Shows/beach.jpg"});

    // Latin-1 capitals in UTF-8, trailing dots and blanks, folders on the way.
    EXPECT_EQ(FindOnDisk(root + "/shows/CAF\xC3\x89.PNG").path, root + "/Shows/caf\xC3\xA9.png");
    EXPECT_EQ(FindOnDisk(root + "/shows/Beach.JPG. ").path, root + "/Shows/Beach.JPG");
    EXPECT_EQ(FindOnDisk(root + "/shows/two/x.png").path, root + "/Shows/two/X.png");

    // A new file keeps its name but gets its folder; a missing folder leaves the path alone.
    EXPECT_EQ(FindOnDisk(root + "/shows/new.avi").path, root + "/Shows/new.avi");
    EXPECT_EQ(FindOnDisk(root + "/nowhere/Beach.JPG").path, root + "/nowhere/Beach.JPG");
    EXPECT_EQ(FindOnDisk(root + "/shows/").path, root + "/Shows/");
    // The multiplication sign has no lower case; it must not match the division sign.
    temp.touch(
        "Shows/a\xC3\xB7"
        "b");
    EXPECT_EQ(FindOnDisk(root + "/Shows/a\xC3\x97"
                                "b")
                  .path,
              root +
                  "/Shows/a\xC3\x97"
                  "b");
}

}  // namespace
}  // namespace quillfen
