#pragma once
// A movie is written under a temporary name in its own folder and renamed over its final name
// only once it is finished, so an earlier movie of that name stays whole until the new one is
// complete, and a build that writes no frame leaves nothing behind.

#include <optional>
#include <string>

namespace quillfen {

class PendingMovieFile {
  public:
    /// Prepares writing the movie `finalPath` (a native path). None, with `error` set to a
    /// sentence without the leading "Error: ", when it names a folder or no file can be made
    /// in its folder. A name that exists but is not a regular file (a device such as
    /// /dev/null) is written directly, without a temporary file.
    static std::optional<PendingMovieFile> prepare(const std::string& finalPath,
                                                   std::string& error);

    PendingMovieFile(PendingMovieFile&& other) noexcept;
    PendingMovieFile& operator=(PendingMovieFile&&) = delete;
    PendingMovieFile(const PendingMovieFile&) = delete;
    PendingMovieFile& operator=(const PendingMovieFile&) = delete;
    /// Removes the temporary file unless it was committed.
    ~PendingMovieFile();

    /// Where the writer writes.
    const std::string& writePath() const { return writePath_; }

    /// Puts the finished movie in place under its final name. False, with `error` set as for
    /// prepare, when the rename fails; the temporary file is then kept if it still exists (the
    /// message names it), so the movie is not lost.
    bool commit(std::string& error);
    /// Removes what was written (a movie without a single frame).
    void discard();

  private:
    PendingMovieFile(std::string finalPath, std::string writePath)
        : finalPath_(std::move(finalPath)), writePath_(std::move(writePath)) {}
    bool direct() const { return writePath_ == finalPath_; }

    std::string finalPath_;
    std::string writePath_;
    bool settled_ = false;
};

}  // namespace quillfen
