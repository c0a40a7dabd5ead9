// corvix summary DOC: the summary sentences, the document properties and the statistics; the
// property options write back what the sheet's OK writes back.
#include <sstream>

#include "builder/cli/command_session.h"
#include "builder/generate/summary.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

CommandRun defineSummary(CommandLine& sub) {
  struct Options {
    std::string doc;
    std::optional<std::string> subject, templateName, author;
    bool noSave = false, save = false;
  };
  auto o = std::make_shared<Options>();
  sub.argument("DOC", o->doc, "the document (.cvx or text form)");
  sub.option("--subject", o->subject, "set the document's subject");
  sub.option("--template", o->templateName, "set the document's template");
  sub.option("--author", o->author, "set the document's author");
  sub.flag("--no-save", o->noSave, "leave a .cvx document file as it is");
  sub.flag("--save", o->save, "write the changed properties back into a text-form document");
  return [o](CommandContext& context) {
    std::unique_ptr<HeadlessSession> session = openSession(context, o->doc);
    if (!session) return exit_status::Failed;
    SummaryPage page = summaryPage(session->doc, session->machine().files());
    // Typed in UTF-8, kept in the document's code page; shown in UTF-8 again below.
    if (o->subject) page.subject = platform::utf8ToCp1252(*o->subject);
    if (o->templateName) page.templateName = platform::utf8ToCp1252(*o->templateName);
    if (o->author) page.author = platform::utf8ToCp1252(*o->author);
    applySummaryPage(session->doc, page);
    Statistics st =
        statistics(session->doc, session->machine().files(), session->context().programFolder);
    std::ostringstream out;
    out << page.comments << "\n"
        << "Install script for: " << page.scriptFor << "\n"
        << "Version Info: " << page.version << "\n"
        << "Created on: " << page.created << "\n"
        << "Last modified on: " << page.modified << "\n"
        << "Subject: " << page.subject << "\n"
        << "Template: " << page.templateName << "\n"
        << "Author: " << page.author << "\n"
        << "Total Size needed to generate install (in KB): " << st.totalKb << "\n"
        << "Number of files copied: " << st.files << "\n"
        << "Number of Directories created: " << st.directories << "\n"
        << "Number of shell groups created: " << st.groups << "\n"
        << "Number of shortcuts added: " << st.shortcuts << "\n"
        << "Last generation path: " << st.lastGenPath << "\n"
        << st.overhead << "\n"
        << "Disk/Archive\tSize (in MB)\n";
    for (const DiskSize& disk : st.disks) out << disk.disk << "\t" << disk.size << "\n";
    context.out << platform::cp1252ToUtf8(out.str());
    context.out.flush();
    if (!keepRunChanges(*session, o->save, o->noSave)) return exit_status::Failed;
    if (session->isTextForm() && session->doc.isModified() && !o->save) {
      context.err << "corvix: " << o->doc
                  << ": not written back (a text-form document is written back only with --save)\n";
    }
    return exit_status::Done;
  };
}

}  // namespace vandrel::builder::cli
