// A machine that passes every call on to another one and notes in an undo journal what each
// change found before it: the setup engine runs over it so that an installation that does
// not succeed can be taken back.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/machine.h"
#include "setup/rollback/change_journal.h"

namespace vandrel::setup::rollback {

class JournalingMachine : public platform::Machine {
 public:
  explicit JournalingMachine(platform::Machine& inner);
  ~JournalingMachine() override;

  ChangeJournal& journal() { return journal_; }

  platform::FileSystem& files() override;
  platform::Profile& profile() override;
  platform::Registry& registry() override;
  platform::System& system() override { return inner_.system(); }
  platform::Shell& shell() override;
  platform::Lz& lz() override;
  platform::VersionInfo& versionInfo() override { return inner_.versionInfo(); }
  platform::Process& process() override { return inner_.process(); }
  platform::Clock& clock() override { return inner_.clock(); }
  platform::LibraryLoader& libraries() override { return inner_.libraries(); }

 private:
  class Files;
  class Ini;
  class Keys;
  class Links;
  class Expansion;

  platform::Machine& inner_;
  ChangeJournal journal_;
  std::unique_ptr<Files> files_;
  std::unique_ptr<Ini> profile_;
  std::unique_ptr<Keys> registry_;
  std::unique_ptr<Links> shell_;
  std::unique_ptr<Expansion> lz_;
};

}  // namespace vandrel::setup::rollback
