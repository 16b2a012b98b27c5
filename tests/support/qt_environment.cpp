// One QApplication for a Qt test program, with the settings in a folder of their own so no test
// reads or writes the user's real settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace {

class QtEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        configHome_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(configHome_->isValid());
        // Set before QApplication exists: the settings location is fixed at first use.
        setenv("XDG_CONFIG_HOME", configHome_->path().toLocal8Bit().constData(), 1);
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override {
        app_.reset();
        configHome_.reset();
    }

  private:
    int argc_ = 1;
    char name_[16] = "qt_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QTemporaryDir> configHome_;
    std::unique_ptr<QApplication> app_;
};

const testing::Environment* const kQtEnvironment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
