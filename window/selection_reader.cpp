#include "window/selection_reader.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// Long enough for any owner that works, short enough that a hung one costs only a moment; Qt's
// own reader waits five seconds.
constexpr int kOwnerTimeoutMs = 500;
// How long a transfer left to finish in the background may go without a word from its owner.
constexpr int kBackgroundIdleMs = 5000;

enum AtomIndex { kClipboardAtom, kUtf8Atom, kIncrementalAtom, kPropertyAtom, kAtomCount };
constexpr std::array<const char*, kAtomCount> kAtomNames = {"CLIPBOARD", "UTF8_STRING", "INCR",
                                                            "QUORVEL_SELECTION"};

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

enum class Stage { kAsked, kRefused, kIncremental, kDone };

// One conversion of a selection by its owner, into a property of a hidden window of a private
// connection, keeping no more than byteCap of its bytes.
struct Transfer {
    std::unique_ptr<xcb_connection_t, Disconnect> connection;
    xcb_window_t window = XCB_NONE;
    std::array<xcb_atom_t, kAtomCount> atoms{};
    qsizetype byteCap = 0;
    Stage stage = Stage::kAsked;
    xcb_atom_t type = XCB_NONE;  // the form the owner gave: STRING is Latin-1, others UTF-8
    QByteArray bytes;            // the first bytes, at most byteCap of them
    qint64 received = 0;
    qint64 bound = 0;  // the owner's lower bound of the size, for an incremental transfer
};

qint64 SizeOf(const Transfer& transfer) {
    return std::max(transfer.received, transfer.bound);
}

std::array<xcb_atom_t, kAtomCount> InternAtoms(xcb_connection_t* connection) {
    std::array<xcb_intern_atom_cookie_t, kAtomCount> cookies;
    for (std::size_t index = 0; index < kAtomCount; ++index) {
        cookies[index] =
            xcb_intern_atom(connection, 0, std::strlen(kAtomNames[index]), kAtomNames[index]);
    }
    std::array<xcb_atom_t, kAtomCount> atoms;
    for (std::size_t index = 0; index < kAtomCount; ++index) {
        const Reply<xcb_intern_atom_reply_t> reply{
            xcb_intern_atom_reply(connection, cookies[index], nullptr)};
        atoms[index] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    return atoms;
}

xcb_window_t CreateHiddenWindow(xcb_connection_t* connection, int screenNumber) {
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int skipped = 0; skipped < screenNumber && screens.rem > 0; ++skipped)
        xcb_screen_next(&screens);
    if (screens.rem == 0) return XCB_NONE;
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screens.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    return window;
}

// A connection of our own, to the display Qt was given by DISPLAY, as the platform choice tried.
bool Open(Transfer& transfer) {
    int screenNumber = 0;
    transfer.connection.reset(xcb_connect(nullptr, &screenNumber));
    if (xcb_connection_has_error(transfer.connection.get())) return false;
    transfer.window = CreateHiddenWindow(transfer.connection.get(), screenNumber);
    transfer.atoms = InternAtoms(transfer.connection.get());
    return transfer.window != XCB_NONE;
}

void Ask(Transfer& transfer, xcb_atom_t selection, xcb_atom_t target) {
    xcb_convert_selection(transfer.connection.get(), transfer.window, selection, target,
                          transfer.atoms[kPropertyAtom], XCB_CURRENT_TIME);
    xcb_flush(transfer.connection.get());
    transfer.stage = Stage::kAsked;
}

struct PropertyPiece {
    xcb_atom_t type = XCB_NONE;
    QByteArray bytes;  // at most the bytes asked for
    qint64 size = 0;   // all of its bytes
};

// Reads the start of the property, then deletes it: for an incremental transfer that asks for
// the next piece.
PropertyPiece TakeProperty(const Transfer& transfer, qsizetype bytesWanted) {
    xcb_connection_t* connection = transfer.connection.get();
    const auto words = static_cast<std::uint32_t>((std::max<qsizetype>(bytesWanted, 0) + 3) / 4);
    const Reply<xcb_get_property_reply_t> reply{xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, transfer.window, transfer.atoms[kPropertyAtom],
                         XCB_GET_PROPERTY_TYPE_ANY, 0, words),
        nullptr)};
    xcb_delete_property(connection, transfer.window, transfer.atoms[kPropertyAtom]);
    if (!reply) return {};
    const int length = xcb_get_property_value_length(reply.get());
    return {reply->type,
            QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length),
            length + qint64{reply->bytes_after}};
}

void Keep(Transfer& transfer, const PropertyPiece& piece) {
    const qsizetype room = std::max<qsizetype>(transfer.byteCap - transfer.bytes.size(), 0);
    transfer.bytes += QByteArrayView(piece.bytes).first(std::min(piece.bytes.size(), room));
    transfer.received += piece.size;
    if (piece.size > 0) transfer.type = piece.type;
}

void TakeAnswer(Transfer& transfer, const xcb_selection_notify_event_t& answer) {
    if (answer.property == XCB_NONE) {
        transfer.stage = Stage::kRefused;
        return;
    }
    const PropertyPiece piece = TakeProperty(transfer, transfer.byteCap);
    if (piece.type != transfer.atoms[kIncrementalAtom]) {
        Keep(transfer, piece);
        transfer.stage = Stage::kDone;
        return;
    }
    // Deleting the property started the pieces; its value, if any, is a lower bound of the size.
    quint32 bound = 0;
    if (piece.bytes.size() >= qsizetype{sizeof bound})
        std::memcpy(&bound, piece.bytes.constData(), sizeof bound);
    transfer.bound = bound;
    transfer.stage = Stage::kIncremental;
}

void TakePiece(Transfer& transfer) {
    const PropertyPiece piece = TakeProperty(transfer, transfer.byteCap - transfer.bytes.size());
    Keep(transfer, piece);
    if (piece.size == 0) transfer.stage = Stage::kDone;
}

// Takes the owner's answer and the pieces that have come.
void Follow(Transfer& transfer) {
    xcb_connection_t* connection = transfer.connection.get();
    while (const Reply<xcb_generic_event_t> event{xcb_poll_for_event(connection)}) {
        const auto type = event->response_type & 0x7f;
        const auto* answer = reinterpret_cast<const xcb_selection_notify_event_t*>(event.get());
        const auto* change = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
        if (type == XCB_SELECTION_NOTIFY && transfer.stage == Stage::kAsked &&
            answer->requestor == transfer.window) {
            TakeAnswer(transfer, *answer);
        } else if (type == XCB_PROPERTY_NOTIFY && transfer.stage == Stage::kIncremental &&
                   change->window == transfer.window &&
                   change->atom == transfer.atoms[kPropertyAtom] &&
                   change->state == XCB_PROPERTY_NEW_VALUE) {
            TakePiece(transfer);
        }
    }
    xcb_flush(connection);
}

bool Unfinished(const Transfer& transfer) {
    return (transfer.stage == Stage::kAsked || transfer.stage == Stage::kIncremental) &&
           xcb_connection_has_error(transfer.connection.get()) == 0;
}

bool Finished(const Transfer& transfer) {
    return !Unfinished(transfer);
}

// Far enough to tell what a paste gets: the first bytes tell whether a line end comes in time,
// whatever the size.
bool Known(const Transfer& transfer) {
    return Finished(transfer) || transfer.received > transfer.byteCap;
}

// Whether the transfer got that far before the deadline.
bool FollowUntil(Transfer& transfer, const QDeadlineTimer& deadline,
                 bool (*reached)(const Transfer&)) {
    for (;;) {
        Follow(transfer);
        if (reached(transfer)) return true;
        const qint64 left = deadline.remainingTime();
        if (left == 0) return false;
        pollfd socket{xcb_get_file_descriptor(transfer.connection.get()), POLLIN, 0};
        if (poll(&socket, 1, static_cast<int>(left)) < 0 && errno != EINTR) return false;
    }
}

// Takes the rest of a transfer to its end while the window goes on, keeping none of its bytes.
// An owner expects the requestor to finish what it asked for: left waiting, some owners refuse
// every later request, and some exit when the requestor's window goes, losing the clipboard.
class BackgroundTransfer : public QObject {
  public:
    explicit BackgroundTransfer(std::unique_ptr<Transfer> transfer)
        : QObject(QCoreApplication::instance()),
          transfer_(std::move(transfer)),
          notifier_(xcb_get_file_descriptor(transfer_->connection.get()), QSocketNotifier::Read,
                    this) {
        transfer_->byteCap = 0;
        idle_.setSingleShot(true);
        connect(&notifier_, &QSocketNotifier::activated, this, &BackgroundTransfer::FollowMore);
        // An owner silent for that long has given up, and nothing is left to finish.
        connect(&idle_, &QTimer::timeout, this, [this] {
            notifier_.setEnabled(false);
            transfer_.reset();
            deleteLater();
        });
        FollowMore();
    }

    // The window closing must not cut an owner short either, so the rest is waited for, briefly.
    ~BackgroundTransfer() override {
        if (transfer_) FollowUntil(*transfer_, QDeadlineTimer(kOwnerTimeoutMs), Finished);
    }

  private:
    void FollowMore() {
        Follow(*transfer_);
        if (Finished(*transfer_)) {
            notifier_.setEnabled(false);
            deleteLater();
        } else {
            idle_.start(kBackgroundIdleMs);
        }
    }

    std::unique_ptr<Transfer> transfer_;
    QSocketNotifier notifier_;
    QTimer idle_;
};

// The selection's text through a connection of our own, or nothing when none can be opened.
std::optional<SelectionText> ReadThroughX(QClipboard::Mode mode, qsizetype byteCap) {
    auto transfer = std::make_unique<Transfer>();
    if (!Open(*transfer)) return std::nullopt;
    transfer->byteCap = byteCap;
    const xcb_atom_t selection = mode == QClipboard::Clipboard ? transfer->atoms[kClipboardAtom]
                                                               : xcb_atom_t{XCB_ATOM_PRIMARY};
    // UTF-8 first, Latin-1 from an owner that offers only that.
    const xcb_atom_t targets[] = {transfer->atoms[kUtf8Atom], XCB_ATOM_STRING};
    const QDeadlineTimer deadline(kOwnerTimeoutMs);
    SelectionText text;
    for (const xcb_atom_t target : targets) {
        Ask(*transfer, selection, target);
        if (!FollowUntil(*transfer, deadline, Known)) break;
        if (transfer->stage == Stage::kRefused) continue;
        text = TextFromBytes(transfer->bytes, SizeOf(*transfer), byteCap,
                             transfer->type == XCB_ATOM_STRING);
        break;
    }
    if (!Finished(*transfer)) new BackgroundTransfer(std::move(transfer));
    return text;
}

}  // namespace

SelectionText ReadSelectionText(QClipboard::Mode mode, qsizetype byteCap) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const bool ours =
        mode == QClipboard::Clipboard ? clipboard->ownsClipboard() : clipboard->ownsSelection();
    // Our own text is at hand and bounded by the fields, and waiting for ourselves as the owner
    // would stall. On Wayland a second connection is offered no selection: Qt's reader it is.
    if (!ours && QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (std::optional<SelectionText> read = ReadThroughX(mode, byteCap)) return *read;
    }
    return {clipboard->text(mode)};
}

SelectionText TextFromBytes(QByteArrayView bytes, qint64 size, qsizetype byteCap, bool latin1) {
    const QByteArrayView read = bytes.first(std::min(bytes.size(), byteCap));
    const auto lineEnd = std::find_if(read.begin(), read.end(),
                                      [](char byte) { return byte == '\r' || byte == '\n'; });
    if (lineEnd == read.end() && size > byteCap) return {QString(), size};
    QByteArrayView line = read.first(lineEnd - read.begin());
    // Some owners end the text with a NUL, which is no part of it.
    if (lineEnd == read.end() && line.endsWith('\0')) line.chop(1);
    return {latin1 ? QString::fromLatin1(line) : QString::fromUtf8(line)};
}
