// The accelerators of labels, and the wizard frame's buttons giving way to a page's controls.
#include "ui/accelerators.h"

#include <gtest/gtest.h>

namespace vandrel::ui {
namespace {

TEST(Accelerators, TheLetterAfterTheFirstSingleAmpersandLowerCased) {
  const std::pair<const char*, std::optional<char>> cases[] = {
      {"&Next >", 'n'},          {"Do &not share", 'n'}, {"B&ackup replaced files", 'a'},
      {"Cancel", std::nullopt},  {"A && B", std::nullopt}, {"A && &B", 'b'},
      {"trailing &", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [label, key] : cases) EXPECT_EQ(acceleratorOf(label), key) << label;
}

TEST(Accelerators, SharedLettersAreNamedOnce) {
  EXPECT_EQ(sharedAccelerators({"&Share", "Do &not share", "&Next >", "&no", "Cancel"}), std::vector<char>{'n'});
  EXPECT_TRUE(sharedAccelerators({"&Share", "&Next >", "Cancel", "< &Back"}).empty());
}

Page sharingPage() {
  Page page;
  page.id = "sharing";
  Field radio;
  radio.kind = Field::Kind::Radio;
  radio.items = {"&Share between users", "Do &not share"};
  page.fields.push_back(radio);
  page.next = "&Next >";
  page.cancel = "&Cancel";
  return page;
}

TEST(Accelerators, TheFramesButtonsGiveWayToThePagesControls) {
  Page page = sharingPage();
  ASSERT_EQ(sharedAccelerators(shownLabels(page)), std::vector<char>{'n'});
  settleFrameAccelerators(page);
  EXPECT_EQ(page.next, "Next >");
  EXPECT_EQ(page.cancel, "&Cancel");  // its letter is free
  EXPECT_EQ(page.fields[0].items[1], "Do &not share");
  EXPECT_TRUE(sharedAccelerators(shownLabels(page)).empty());
}

TEST(Accelerators, ButtonsThatTakeBacksLetterOrEachOthersGiveWayInTurn) {
  Page page;
  page.next = "&Back again";
  page.finish = "&Finish";
  page.cancel = "&Forget";
  Field check;
  check.kind = Field::Kind::Check;
  check.label = "Keep && go";  // a shown ampersand is no accelerator
  page.fields.push_back(check);
  settleFrameAccelerators(page);
  EXPECT_EQ(page.next, "Back again");
  EXPECT_EQ(page.finish, "&Finish");
  EXPECT_EQ(page.cancel, "Forget");
  EXPECT_TRUE(sharedAccelerators(shownLabels(page)).empty());
}

TEST(Accelerators, ACheckListsRowsAreNotControlsOfThePage) {
  Page page;
  Field list;
  list.kind = Field::Kind::CheckList;
  list.label = "Components";
  list.items = {"&Samples"};
  page.fields.push_back(list);
  page.actions = {"&Change"};
  EXPECT_EQ(pageControlLabels(page), std::vector<std::string>{"&Change"});
}

}  // namespace
}  // namespace vandrel::ui
