#pragma once
// The one door between the game and the machine: windows, controls, events, drawing, images, fonts, files.
// The backend (GTK or headless) is chosen at link time; game code includes only this header.
// Loading operations return none on failure and report nothing; the caller decides what to do.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct TGadgetRecord;
struct TImageData;
struct TFontData;
struct TTimerData;
struct TTextFileData;

using TGadget = TGadgetRecord*;
using TImage = std::shared_ptr<TImageData>;
using TFont = std::shared_ptr<TFontData>;
using TTimer = TTimerData*;
using TTextFile = std::shared_ptr<TTextFileData>;

// Event ids as the game tests them; other ids exist and are ignored by the game.
enum TEventId : int {
    KeyDown = 0x201,
    KeyUp = 0x202,
    MouseDown = 0x401,
    MouseUp = 0x402,
    MouseMove = 0x403,
    MouseLeave = 0x404, // the pointer left the canvas for a control on it or another window; none held
    TimerTick = 0x801,
    GadgetAction = 0x2001,
    GadgetPaint = 0x2002,
    WindowMove = 0x4001,
    WindowSize = 0x4002,
    WindowClose = 0x4003,
};

inline constexpr int KeyEscape = 27;

struct TEvent {
    int id = 0;
    const void* source = nullptr; // a TGadget or a TTimer
    int data = 0;
    int mods = 0;
    int x = 0;
    int y = 0;
    const void* extra = nullptr;
};

// Window styles, combined by addition.
enum TWindowStyle : int {
    StyleTitleBar = 1,
    StyleResizable = 2,
    StyleMenu = 4,
    StyleStatusBar = 8,
    StyleClientCoords = 32,
};

enum TLabelStyle : int { LabelLeft = 0, LabelCentred = 16 };

// Image flags, combined by addition; -1 selects ImageDefault.
enum TImageFlag : int {
    ImageMasked = 1,
    ImageFiltered = 2,
    ImageMipmapped = 4,
    ImageDynamic = 8,
    ImageDefault = ImageMasked | ImageFiltered,
};

enum TBlendMode : int { BlendMasked = 1, BlendSolid = 2, BlendAlpha = 3, BlendLight = 4, BlendShade = 5 };

inline constexpr int FontSmoothed = 4;

// Images larger than this on a side, or in total, are refused before anything is allocated. Eight million
// pixels is seventeen screens of this 800 x 600 game, and decodes in well under a second: a file of a few
// hundred bytes claiming sixty-four million took the game seconds and a quarter of a gigabyte.
inline constexpr int MaxImageSide = 16384;
inline constexpr int64_t MaxImagePixels = 8LL * 1024 * 1024;

// --- windows and controls -------------------------------------------------------------------------------
TGadget OpenWindow(const std::string& title, int x, int y, int w, int h, TGadget parent, int style);
TGadget AddPanel(int x, int y, int w, int h, TGadget parent, int style, const std::string& title = "");
TGadget AddButton(const std::string& text, int x, int y, int w, int h, TGadget parent, int style = 1);
TGadget AddLabel(const std::string& text, int x, int y, int w, int h, TGadget parent, int style = LabelLeft);
TGadget AddListBox(int x, int y, int w, int h, TGadget parent, int style = 0);
TGadget AddHtmlView(int x, int y, int w, int h, TGadget parent, int style = 0);
TGadget AddCanvas(int x, int y, int w, int h, TGadget parent, int style = 0);

void DestroyGadget(TGadget gadget);
void SetVisible(TGadget gadget, bool visible);
void SetBounds(TGadget gadget, int x, int y, int w, int h);
void SetText(TGadget gadget, const std::string& text);
int ClientWidth(TGadget window);
int ClientHeight(TGadget window);
struct TBounds {
    int x = 0, y = 0, w = 0, h = 0;
};
// Where a gadget is in its parent; for a window, where its client area is on the screen, kept up with
// wherever the player or the desktop has moved it since.
TBounds Bounds(TGadget gadget);
// The part of the screen that windows may use, on the monitor that holds the window.
TBounds WorkArea(TGadget window);
// The line of text in a window's status bar; a window without one ignores it.
void SetStatusText(TGadget window, const std::string& text);
// A picture shown in the middle of a panel, as large as fits up to twice its size; none takes it away.
void SetPicture(TGadget panel, const TImage& image, int frame = 0);
void RequestRepaint(TGadget canvas);

void ClearItems(TGadget listBox);
void AddItem(TGadget listBox, const std::string& text, int flags = 0, int icon = -1,
             const std::string& tooltip = "", const void* extra = nullptr);
int SelectedIndex(TGadget listBox);
std::string ItemText(TGadget listBox, int index);
TImage LoadIconStrip(const std::string& path);
void SetIconStrip(TGadget listBox, const TImage& strip);

void Navigate(TGadget htmlView, const std::string& location);
std::string CurrentUrl(TGadget htmlView);

// --- events, hooks, timer and clock -----------------------------------------------------------------------
// A hook returns the event to pass it on, or nullptr to consume it.
using TEventHook = std::function<TEvent*(TEvent*)>;

// Blocks until an event is queued (the headless backend returns nullptr when nothing is waiting).
TEvent* NextEvent();
const TEvent& CurrentEvent();
void AddEventHook(TEventHook hook, int priority = 0);
TTimer CreateTimer(int ticksPerSecond);
uint32_t Milliseconds();
[[noreturn]] void EndProgram();
void DebugLog(const std::string& text);

// --- drawing onto the current canvas ----------------------------------------------------------------------
void SetDrawTarget(TGadget canvas);
// The canvas that drawing goes to now, or none before the first SetDrawTarget.
TGadget CurrentDrawTarget();
void ClearTarget();
// The drawing up to the next Present is one whole frame. Present draws and shows it only when it would
// look different from the frame on screen; an equal frame costs no drawing at all.
void BeginFrame();
void Present();
int CanvasWidth();
int CanvasHeight();
void SetColor(int r, int g, int b);
void SetBlend(int mode);
void SetScale(float sx, float sy);
void DrawImage(const TImage& image, float x, float y, int frame = 0);
void DrawRect(float x, float y, float w, float h);
void DrawLine(float x1, float y1, float x2, float y2, int lastPixel = 1);
void DrawOval(float x, float y, float w, float h);
void DrawText(const std::string& text, float x, float y);

TFont LoadFont(const std::string& path, int size, int style = FontSmoothed);
void SetFont(const TFont& font);
int TextWidth(const std::string& text);
int TextHeight();

TImage LoadImage(const std::string& path, int flags = -1);
TImage LoadFrames(const std::string& path, int frameWidth, int frameHeight, int first, int count,
                  int flags = -1);
TImage CreateImage(int width, int height, int frames = 1, int flags = -1);
void GrabImage(const TImage& image, int x, int y, int frame = 0);
int ImageWidth(const TImage& image);
int ImageHeight(const TImage& image);
int ImageFrames(const TImage& image);

// --- files ------------------------------------------------------------------------------------------------
std::vector<std::string> ListDirectory(const std::string& path);
int FileKind(const std::string& path); // 0 missing, 1 file, 2 directory
std::string CurrentDirectory();
// Whether `path` lies inside `folder` once links and dot segments are followed; false when either is missing.
bool PathWithin(const std::string& folder, const std::string& path);
// Reads only a regular file of at most MaxTextFileBytes, whole, at opening (see FileBytes.hpp).
TTextFile OpenTextFile(const std::string& path);
inline constexpr size_t MaxTextFileBytes = size_t{16} << 20;
// One line without its '\n', however long.
std::string ReadLine(const TTextFile& file);
bool EndOfFile(const TTextFile& file);
void SeekStart(const TTextFile& file);
void CloseFile(const TTextFile& file);
