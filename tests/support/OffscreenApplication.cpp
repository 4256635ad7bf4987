// One offscreen application for every test of an executable that links this file, deleted
// before the program ends so that nothing it holds is reported as leaked.

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

class OffscreenApplication : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[10] = "qt_widget";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

const auto* const kApplication = ::testing::AddGlobalTestEnvironment(new OffscreenApplication);

} // namespace
