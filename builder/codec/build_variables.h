// Build variables: $(NAME) in a document's entry fields, filled in when a package is built from
// the values given for that build and the document's own settings; never stored in the document.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "builder/codec/load_diagnostic.h"
#include "builder/model/script_doc.h"

namespace vandrel::builder {

// NAME=VALUE pairs given for one build (the command line's --set), in the order given; a name
// given twice takes its later value. Values are in the document's code page.
using BuildValues = std::vector<std::pair<std::string, std::string>>;

// Whether name can be a build variable's: a letter or "_", then letters, digits and "_".
bool isBuildVariableName(std::string_view name);

// The values of one build over a document: a name (any case) is looked up among the values
// given first, then among the document's settings by their keys in the text form ([Settings],
// [Background] and [Owner]: AppName, Ver, Title, DefDir, Author, ...), as those settings are
// when the text is expanded. doc must outlive this object.
class BuildVariables {
 public:
  BuildVariables(const CScriptDoc& doc, BuildValues given);

  // text with every "$(NAME)" replaced by the value of NAME, itself expanded the same way;
  // "$$(" stands for a plain "$(" and any other "$" is kept. What cannot be filled in (an
  // unknown name, a value that refers back to itself, a "$(" without ")" or with no name
  // inside) is kept as written and described in problems, one text each.
  std::string expand(std::string_view text, std::vector<std::string>& problems) const;

  // The values given that no text expanded so far has used, directly or through another
  // value: a name given by mistake, most likely.
  std::vector<std::string> unusedGiven() const;

 private:
  std::string expandWithin(std::string_view text, std::vector<std::string>& problems,
                           std::vector<std::string>& open) const;
  std::optional<std::string> valueOf(std::string_view name) const;

  const CScriptDoc& doc_;
  BuildValues given_;
  mutable std::vector<bool> used_;  // one per value given
};

// The problems of expanding a document text (its text form, as a text-form document's file
// holds it or as `corvix dump` prints a .cvx), one error per problem with its line, named by
// file. Only the fields a build fills in are read: the entry lines of [Directories],
// [Descriptions], [Groups], [AddINI], [Registry] and [Shortcuts], and the command and
// favourite lines of [End] and [Web] (not Reboot and StartURL).
LoadDiagnostics buildVariableFindings(std::string_view documentText,
                                      const BuildVariables& variables, const std::string& file);

// The document a package is built from: a copy of doc with the fields above expanded. File and
// message entries are left as they are: they name the files the package is made of.
CScriptDoc expandedForBuild(const CScriptDoc& doc, const BuildValues& given);

}  // namespace vandrel::builder
