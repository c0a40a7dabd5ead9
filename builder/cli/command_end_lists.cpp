// corvix add-launch and add-favorite, and the end-of-install sheet's lists for list and
// remove: every change goes through the sheet's pages and their OK, as in the builder.
#include "builder/cli/command_end_lists.h"

#include <cctype>

#include "builder/cli/command_entries.h"
#include "builder/cli/command_session.h"
#include "builder/pages/end_pages.h"
#include "platform/code_page.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::cli {

std::optional<std::string> endListCalled(const std::string& name) {
  std::string lower;
  for (char c : name) lower += char(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "launch" || lower == "launches" || lower == "end" || lower == "commands")
    return "launch";
  if (lower == "favorite" || lower == "favorites" || lower == "favourite" ||
      lower == "favourites")
    return "favorite";
  return std::nullopt;
}

std::vector<std::string> endListLines(const CScriptDoc& doc, const std::string& list) {
  pages::EndSheet sheet(doc);
  if (list == "launch") return sheet.end.launch;
  std::vector<std::string> lines;
  for (const auto& [name, url] : sheet.web.rows) lines.push_back(name + "," + url);
  return lines;
}

std::string removeEndListLine(CommandContext& context, CScriptDoc& doc, const std::string& list,
                              const std::string& number) {
  pages::EndSheet sheet(doc);
  int count = int(list == "launch" ? sheet.end.launch.size() : sheet.web.rows.size());
  bool digits = !number.empty() && number.size() < 7 &&
                number.find_first_not_of("0123456789") == std::string::npos;
  int n = digits ? std::stoi(number) : 0;
  if (n < 1 || n > count) {
    return "N: " + number + " is beyond the list (" + std::to_string(count) + " " + list +
           " line(s), numbered from 1)";
  }
  if (list == "launch") {
    sheet.end.selected = n - 1;
    sheet.end.remove();
  } else {
    sheet.web.selected = n - 1;
    sheet.web.remove(context.ui());
  }
  sheet.ok(doc);
  return {};
}

namespace {

struct LaunchOptions : EntryTarget {
  std::string commandLine;
};

struct FavoriteOptions : EntryTarget {
  std::string name, url;
};

}  // namespace

CommandRun defineAddLaunch(CommandLine& sub) {
  auto options = std::make_shared<LaunchOptions>();
  declareDocument(sub, *options, "the document");
  sub.argument("COMMAND", options->commandLine,
               "the command line started at the end of the installation, in the installation "
               "folder; placeholders ([u], [0], ...) are filled");
  declareNoSave(sub, *options);
  return [options](CommandContext& context) {
    std::string refused = requireText("COMMAND", options->commandLine);
    if (!refused.empty()) return usageError(context, refused);
    std::unique_ptr<HeadlessSession> session = openSession(context, options->document);
    if (!session) return exit_status::Failed;
    pages::EndSheet sheet(session->doc);
    sheet.end.edit = platform::utf8ToCp1252(options->commandLine);
    if (!sheet.end.add()) return usageError(context, "COMMAND: a value is required");
    sheet.ok(session->doc);
    return reportMade(context, *session, "launch", sheet.end.launch.size(),
                      sheet.end.launch.back(), options->noSave);
  };
}

CommandRun defineAddFavorite(CommandLine& sub) {
  auto options = std::make_shared<FavoriteOptions>();
  declareDocument(sub, *options, "the document");
  sub.requiredOption("--name", options->name,
                     "the Internet shortcut's name; an existing favourite of that name (any "
                     "case) gets the new address");
  sub.requiredOption("--url", options->url, "the address it opens");
  declareNoSave(sub, *options);
  return [options](CommandContext& context) {
    OptionChecks checks;
    checks.require("--name", options->name).require("--url", options->url).then([&] {
      bool comma = options->name.find(',') != std::string::npos;
      return std::string(comma ? "--name: a favourite's name cannot hold a comma" : "");
    });
    if (!checks.refusal().empty()) return usageError(context, checks.refusal());
    std::unique_ptr<HeadlessSession> session = openSession(context, options->document);
    if (!session) return exit_status::Failed;
    pages::EndSheet sheet(session->doc);
    sheet.web.nameEdit = platform::utf8ToCp1252(options->name);
    sheet.web.urlEdit = platform::utf8ToCp1252(options->url);
    if (!sheet.web.add(context.ui())) return usageError(context, "--name and --url are required");
    sheet.ok(session->doc);
    // The favourite of that name: a new line, or the one whose address it replaced.
    std::vector<std::string> lines = endListLines(session->doc, "favorite");
    std::string made = platform::utf8ToCp1252(options->name);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      bool named = lines[i].size() > made.size() && lines[i][made.size()] == ',' &&
                   text::equalsNoCase(lines[i].substr(0, made.size()), made);
      if (named) return reportMade(context, *session, "favorite", i + 1, lines[i], options->noSave);
    }
    context.out.flush();
    if (!options->noSave && !session->saveIfModified()) return exit_status::Failed;
    return exit_status::Done;
  };
}

}  // namespace vandrel::builder::cli
