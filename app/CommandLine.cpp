#include "app/CommandLine.h"

#include <charconv>
#include <optional>

#include "app/ConsoleView.h"
#include "core/Public.h"
#include "engine/ActionMapping.h"
#include "engine/Analisis.h"
#include "engine/Session.h"
#include "engine/Sincronizacion.h"
#include "engine/Startup.h"

namespace tandrel {

namespace {

constexpr const char* kHelp =
    "Usage: Tandrel [VERB]\n"
    "Without a verb, Tandrel opens its window.\n"
    "\n"
    "  --tasks       list this computer's tasks: ID, description, USB folder, PC folder,\n"
    "                last synchronisation (one line each, fields separated by TAB)\n"
    "  --analyse ID  analyse the task with that ID and list its files: state code, action,\n"
    "                state, size, name; exit status 1 when a file is in conflict\n"
    "  --sync ID     analyse the task with that ID, then synchronise it and list its files\n"
    "                as the run left them; exit status 1 when the task ends in alert\n"
    "  --auto        analyse and synchronise every auto-start task of this computer;\n"
    "                exit status 1 when any of them ends in alert\n"
    "  --help        show this text\n"
    "\n"
    "The activity log goes to standard error. Exit status 2: the program could not do what was\n"
    "asked (an unknown verb or task, a database or clock error, a drive that cannot be read).\n";

enum class Verb { Tasks, Analyse, Sync, Auto, Help };

struct Request {
  Verb verb = Verb::Help;
  std::int64_t id = 0;
};

std::optional<std::int64_t> ParseId(const std::string& text) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// nullopt for words that are no request (the caller names the first of them).
std::optional<Request> Parse(const std::vector<std::string>& args) {
  const std::string& verb = args[0];
  if (args.size() == 1) {
    if (verb == "--tasks") return Request{Verb::Tasks};
    if (verb == "--auto") return Request{Verb::Auto};
    if (verb == "--help" || verb == "-h") return Request{Verb::Help};
  }
  if (args.size() == 2 && (verb == "--analyse" || verb == "--analyze" || verb == "--sync")) {
    if (auto id = ParseId(args[1])) {
      return Request{verb == "--sync" ? Verb::Sync : Verb::Analyse, *id};
    }
  }
  return std::nullopt;
}

// Remembers how each run ended, as the task list would show it.
class CommandLineView : public ConsoleView {
 public:
  using ConsoleView::ConsoleView;
  void SetTaskRowResult(int, const std::string& icon, const std::string&,
                        const std::string&) override {
    if (icon == "ALERT") anyAlert = true;
  }
  bool anyAlert = false;
};

int FindTask(const Session& session, std::int64_t id) {
  for (int i = 1; i <= session.Tareas.Count(); ++i) {
    if (session.Tareas.ITem1(i).ID == id) return i;
  }
  return 0;
}

void PrintTasks(const Session& session, std::ostream& out) {
  const std::string drive = DriveOf(session.carpetaPrograma, session.mounts);
  for (int i = 1; i <= session.Tareas.Count(); ++i) {
    const clsTarea& t = session.Tareas.ITem1(i);
    out << t.ID << '\t' << OneLineField(t.Descripcion) << '\t'
        << OneLineField(JoinDriveAndLeft(drive, t.Left)) << '\t' << OneLineField(NativePath(t.Right))
        << '\t' << FormateaFecha(t.LastEXE) << '\n';
  }
}

bool PrintEntries(const Session& session, std::ostream& out) {
  bool conflict = false;
  for (std::size_t i = 1; i <= session.Archivos.Count(); ++i) {
    const clsArchivo& e = session.Archivos.ITemID(i);
    const ActionMapping* mapping = FindActionMapping(e.Action);
    if (IsConflict(e.Action)) conflict = true;
    out << e.Action.view() << '\t' << (mapping ? mapping->word : "") << '\t'
        << session.W("st" + e.Estado.str()) << '\t' << (mapping ? ShownSize(e, *mapping) : "")
        << " bytes" << '\t' << OneLineField(e.Nombre) << '\n';
  }
  return conflict;
}

int CarryOut(const Request& request, Session& session, CommandLineView& view,
             const CommandLineContext& context) {
  if (request.verb == Verb::Tasks) {
    PrintTasks(session, context.out);
    return 0;
  }
  if (request.verb == Verb::Auto) return view.anyAlert ? 1 : 0;

  const int posicion = FindTask(session, request.id);
  if (posicion == 0) {
    view.ShowMessage(MessageIcon::Critical, kTitulo,
                     session.W("errNoTask") + " " + std::to_string(request.id));
    return 2;
  }
  AnalizaTarea(session, view, posicion, true);
  if (session.driveError) return 2;
  if (request.verb == Verb::Analyse) return PrintEntries(session, context.out) ? 1 : 0;

  Sincroniza(session, view, posicion);
  PrintEntries(session, context.out);
  return view.anyAlert ? 1 : 0;
}

}  // namespace

std::string OneLineField(std::string_view text) {
  std::string field(text);
  for (char& c : field) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return field;
}

int RunCommandLine(const std::vector<std::string>& args, const CommandLineContext& context) {
  const std::optional<Request> request = Parse(args);
  if (request && request->verb == Verb::Help) {
    context.out << kHelp;
    return 0;
  }
  if (!request) {
    // Only the words are needed for the message; nothing is started and nothing is written.
    const clsArchivoINI ini(context.carpetaPrograma, context.nombreEjecutable);
    const clsWords words(context.carpetaPrograma, ini.Language);
    context.err << words.W("errVerb") << " " << OneLineField(args[0]) << "\n" << kHelp;
    return 2;
  }

  CommandLineView view(context.err);
  Session session(context.carpetaPrograma, context.nombreEjecutable, context.mounts, context.fs);
  LogStartLines(session, view);
  StartOptions options;
  options.firstRunWizard = false;
  options.runAutoStart = request->verb == Verb::Auto;
  int status = 2;
  if (StartUpAgainstDatabase(session, view, options) == StartResult::Ready) {
    status = CarryOut(*request, session, view, context);
  }
  ShutDown(session, view);
  return status;
}

}  // namespace tandrel
