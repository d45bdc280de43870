// DDE as a client: what both implementations do without a server.
#include "contract.h"

namespace contract {
namespace {

using namespace platform;

TEST_P(DesktopContract, DdeConnectionToAServiceNobodyServesFails) {
  Desktop& desktop = sys().desktop;
  DdeClient client(desktop);
  ASSERT_EQ(desktop.ddeInitialize(dde::kClientOnly, client.out()), dde::kNoError);
  EXPECT_TRUE(client.isOpen());
  Conversation conversation(desktop);
  EXPECT_EQ(
      desktop.ddeConnect(client.get(), "StripwellNoSuchService", "NoSuchTopic", conversation.out()),
      dde::kNoConversation);
  EXPECT_FALSE(conversation.isOpen());
}

}  // namespace
}  // namespace contract
