#include "app/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "app/ConsoleView.h"
#include "core/Public.h"
#include "engine/ActionMapping.h"
#include "engine/Analisis.h"
#include "engine/Automaticas.h"
#include "engine/ConflictSettlement.h"
#include "engine/Peers.h"
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
    "                exit status 1 when any of them ends in alert, 2 when any of them\n"
    "                could not be analysed\n"
    "  --prefer usb|pc|newer\n"
    "                after --sync ID or --auto: settle every conflict of the run with the\n"
    "                copy from the USB drive, from the PC, or the newer copy (two copies of\n"
    "                the same time stay in conflict); without it conflicts stay as they are\n"
    "  --peers ID    list the other tasks, of any computer, that use the USB folder of the\n"
    "                task with that ID: computer, PC folder, last synchronisation, and the\n"
    "                new, changed and deleted files its next run would carry from the USB\n"
    "                drive (one line each, fields separated by TAB)\n"
    "  --help        show this text\n"
    "\n"
    "The activity log goes to standard error. Exit status 2: the program could not do what was\n"
    "asked (an unknown verb or task, a database or clock error, a drive that cannot be read).\n";

enum class Verb { Tasks, Analyse, Sync, Auto, Help, Peers };

constexpr const char* kPreferUsage = "Usage: Tandrel --sync ID|--auto --prefer usb|pc|newer\n";

struct Request {
  Verb verb = Verb::Help;
  std::int64_t id = 0;
  std::optional<PreferredCopy> prefer;
  bool badPrefer = false;  // --prefer without a value or with one of no meaning
};

// Takes a trailing "--prefer VALUE" off args; a run verb is expected before it.
Request PreferOf(std::vector<std::string>& args) {
  Request request;
  const auto at = std::find(args.begin(), args.end(), "--prefer");
  if (at == args.end()) return request;
  const bool hasValue = at + 1 != args.end();
  request.prefer = hasValue ? PreferredCopyNamed(*(at + 1)) : std::nullopt;
  request.badPrefer = !request.prefer || at + 2 != args.end() || at == args.begin();
  args.erase(at, args.end());
  return request;
}

std::optional<std::int64_t> ParseId(const std::string& text) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// nullopt for words that are no request (the caller names the first of them).
std::optional<Request> Parse(std::vector<std::string> args) {
  Request request = PreferOf(args);
  if (request.badPrefer) return request;
  const bool runs = !args.empty() && (args[0] == "--sync" || args[0] == "--auto");
  if (request.prefer && !runs) {
    request.badPrefer = true;
    return request;
  }
  if (args.empty()) return std::nullopt;
  const std::string& verb = args[0];
  if (args.size() == 1) {
    request.verb = Verb::Help;
    if (verb == "--tasks") request.verb = Verb::Tasks;
    if (verb == "--auto") request.verb = Verb::Auto;
    if (verb == "--tasks" || verb == "--auto" || verb == "--help" || verb == "-h") return request;
  }
  if (args.size() == 2 && (verb == "--analyse" || verb == "--analyze" || verb == "--sync")) {
    if (auto id = ParseId(args[1])) {
      request.verb = verb == "--sync" ? Verb::Sync : Verb::Analyse;
      request.id = *id;
      return request;
    }
  }
  if (args.size() == 2 && verb == "--peers") {
    if (auto id = ParseId(args[1])) {
      request.verb = Verb::Peers;
      request.id = *id;
      return request;
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
        << '\t' << OneLineField(FormateaFecha(t.LastEXE)) << '\n';
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

// One line per peer; a peer's notes go to standard error, where the log goes.
int PrintPeers(Session& session, AppView& view, int posicion, std::ostream& out) {
  std::vector<Peer> peers;
  if (std::string error = PeersOfTask(session, view, posicion, peers); !error.empty()) {
    EscribeLog(view, "#" + std::to_string(session.Tareas.ITem1(posicion).ID) + ": " + error);
    return 2;
  }
  for (const Peer& peer : peers) {
    // The PC folder as its computer wrote it: that computer's separators are its own.
    out << OneLineField(peer.host) << '\t' << OneLineField(peer.tarea.Right) << '\t'
        << OneLineField(LastSyncText(session, peer.tarea.LastEXE)) << '\t' << peer.newFiles
        << '\t' << peer.changed << '\t' << peer.deletions << '\n';
    for (const std::string& note : peer.notes) {
      EscribeLog(view, OneLineField(peer.host) + ": " + OneLineField(note));
    }
  }
  return 0;
}

int CarryOut(const Request& request, Session& session, CommandLineView& view,
             const CommandLineContext& context) {
  if (request.verb == Verb::Tasks) {
    PrintTasks(session, context.out);
    return 0;
  }
  if (request.verb == Verb::Auto) {
    if (session.Tareas.Count() == 0) return 0;
    bool anyNotRun = false;
    const int notAnalysed = EjecutaAutomaticas(session, view, [&](int posicion) {
      if (request.prefer) SettleConflicts(session, view, *request.prefer);
      Sincroniza(session, view, posicion);
      anyNotRun = anyNotRun || session.databaseError;
    });
    // The worst of the tasks: one that could not be analysed or run outweighs any alert.
    return notAnalysed > 0 || anyNotRun ? 2 : view.anyAlert ? 1 : 0;
  }

  const int posicion = FindTask(session, request.id);
  if (posicion == 0) {
    view.ShowMessage(MessageIcon::Critical, kTitulo,
                     session.W("errNoTask") + " " + std::to_string(request.id));
    return 2;
  }
  if (request.verb == Verb::Peers) return PrintPeers(session, view, posicion, context.out);
  AnalizaTarea(session, view, posicion, true);
  if (session.driveError) return 2;
  if (request.verb == Verb::Analyse) return PrintEntries(session, context.out) ? 1 : 0;

  if (request.prefer) SettleConflicts(session, view, *request.prefer);
  Sincroniza(session, view, posicion);
  PrintEntries(session, context.out);
  if (session.databaseError) return 2;
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
  if (request && request->badPrefer) {
    context.err << kPreferUsage;
    return 2;
  }
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
  // --auto runs its tasks itself, after start-up as the window would: so it learns how each ended.
  options.runAutoStart = false;
  int status = 2;
  if (StartUpAgainstDatabase(session, view, options) == StartResult::Ready) {
    status = CarryOut(*request, session, view, context);
  }
  ShutDown(session, view);
  return status;
}

}  // namespace tandrel
