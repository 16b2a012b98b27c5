#pragma once
// A run of numbered picture files, one per frame: img[4].jpg names img0000.jpg, img0001.jpg...

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "timeline/source_element.h"

namespace quillfen {

class SequenceElement : public SourceElement {
  public:
    /// Parameters "pattern|first|last". Without a last number the run ends before the first
    /// missing file. Invalid, with a message saying why, when the pattern has no "[digits]"
    /// part, no file of the run exists, or the files run past what the digits can number.
    SequenceElement(int lineIndex, const MovieSettings& settings, std::string_view parameters);

    void reset() override;
    FrameImage nextFrame() override;
    std::string describe() const override;

    /// The resolved file name of `number` (the digits zero-padded; "%" in the name is literal).
    std::string fileNameFor(int number) const;

    int firstNumber = 0;
    int lastNumber = 0;
    int currentNumber = 0;

  private:
    bool readPattern(std::string_view patternText);
    void findLastNumber();
    void stampFiles();

    /// Each file's stamp when the Script was read, from firstNumber on; empty for runs too
    /// long to stamp.
    std::vector<std::optional<FileStamp>> stamps_;

    std::string namePrefix_;  // picture folder and the text before "["
    std::string nameSuffix_;  // the text after "]"
    int digits_ = 0;
};

}  // namespace quillfen
