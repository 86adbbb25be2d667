#include "dialogs/Zor.LabelDialogs.h"

#include <gtest/gtest.h>

namespace {

// The dialog tests open the label's dialogs as a host does that has made none of the library's
// widgets: after zor::InstallLabelDialogs.
class TDialogsInstalled : public ::testing::Environment {
public:
    void SetUp() override { zor::InstallLabelDialogs(); }
};

const ::testing::Environment* const Installed = ::testing::AddGlobalTestEnvironment(new TDialogsInstalled);

} // namespace
