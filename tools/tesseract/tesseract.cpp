// tesseract.exe: the program's text recognition. It reads the capture back out of the enlarged
// picture the program hands over, prepares it the way the engine reads screen text best, runs
// the Tesseract shipped beside it, and makes the result file appear only when it is complete.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "imaging/QuickBitmap.h"
#include "platform/FileIo.h"
#include "tools/PngHeader.h"
#include "tools/ToolRunner.h"
#include "tools/tesseract/ScreenLayout.h"

namespace {

using namespace gs::tools;

struct Request {
    std::wstring language = L"eng";
    std::wstring pageSegmentation = L"6";
    std::wstring image, base;
};

// "-l <code> -psm 1 <image> <base>", as the program passes it. With no language checked the
// program passes an empty code, which leaves "-l" followed by the next option.
Request parse(const std::vector<std::wstring>& args) {
    Request r;
    std::vector<std::wstring> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool valued = i + 1 < args.size() && args[i + 1].rfind(L"-", 0) != 0;
        if (args[i] == L"-l") {
            if (valued) r.language = args[++i];
        } else if (args[i] == L"-psm" || args[i] == L"--psm") {
            if (valued) ++i;  // screen captures read best as one block of text (see README)
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() >= 2) {
        r.image = positional[0];
        r.base = positional[1];
    }
    return r;
}

// The capture's text laid out for the engine (ScreenLayout.h), written as a PGM file to `path`;
// nothing when the picture cannot be read or written. The bands say where each row landed.
std::optional<std::vector<Composed::Band>> prepare(const std::wstring& image,
                                                   const std::wstring& path) {
    gs::File in = gs::OpenFile(image, L"rb");
    if (!in) return std::nullopt;
    const RgbImage capture = CaptureFromPng(in.get());
    in.reset();
    if (capture.width < 1 || capture.height < 1) return std::nullopt;
    Composed composed = PrepareScreen(capture);
    const std::string pgm = Pgm(composed.image);
    composed.image = {};
    gs::File out = gs::OpenFile(path, L"wb");
    if (out && std::fwrite(pgm.data(), 1, pgm.size(), out.get()) == pgm.size() &&
        gs::CloseFile(out))
        return std::move(composed.bands);
    gs::RemoveFile(path);
    return std::nullopt;
}

// The result text from the engine's report of words and letters when the picture was laid out
// by rows (the rows as they were composed, of a row read more than once the words its readings
// agree on, words parted by the screen's spacing); the engine's own text file otherwise, or when
// the report cannot be read.
bool writeText(const std::wstring& part, const std::vector<Composed::Band>& bands) {
    const std::optional<std::string> hocr = gs::ReadWholeFile(part + L".hocr");
    const std::optional<std::string> text = hocr ? TextFromWords(*hocr, bands) : std::nullopt;
    if (!text) return true;
    gs::File out = gs::OpenFile(part + L".txt", L"wb");
    return out && std::fwrite(text->data(), 1, text->size(), out.get()) == text->size() &&
           gs::CloseFile(out);
}

// The files a run makes on its way (the engine's picture, its text and report before they are
// taken): removed however the run ends, so that a failed one leaves nothing behind.
class Leftovers {
  public:
    explicit Leftovers(std::vector<std::wstring> files) : files_(std::move(files)) {}
    ~Leftovers() {
        for (const std::wstring& f : files_) gs::RemoveFile(f);
    }
    Leftovers(const Leftovers&) = delete;
    Leftovers& operator=(const Leftovers&) = delete;

  private:
    std::vector<std::wstring> files_;
};

bool ascii(const std::wstring& s) {
    return std::all_of(s.begin(), s.end(), [](wchar_t c) { return c < 128; });
}

// A name the engine can open from `folder`, its current folder: it opens files by narrow
// names, which cannot spell every folder's name (a user's "Jiří").
std::wstring reachable(const std::wstring& folder, const std::wstring& path) {
    const std::wstring relative = RelativePath(folder, path);
    if (ascii(relative)) return relative;
    wchar_t brief[MAX_PATH];
    const DWORD n = GetShortPathNameW(path.c_str(), brief, MAX_PATH);
    return n && n < MAX_PATH && ascii(std::wstring(brief, n)) ? std::wstring(brief, n) : relative;
}

int recognise() {
    const Request request = parse(OwnArguments());
    if (request.image.empty() || request.base.empty()) return kBadCommandLine;
    // Told by the header, before a row is read: the program writes nothing larger, and a picture
    // that claims to be would ask more memory than any screen's text needs (of us or the engine).
    const std::optional<FrameSize> size = PngFrameSize(FileHead(request.image, 24));
    if (size && (size->width > gs::kOcrLargestSide || size->height > gs::kOcrLargestSide))
        return kPictureRefused;
    const std::wstring here = OwnFolder();
    const std::wstring shipped = here + L"tesseract\\tesseract.exe";
    const std::wstring engine =
        FindProgram(EnginePlaces(L"tesseract\\tesseract.exe", L"Tesseract-OCR\\tesseract.exe"));
    if (engine.empty()) return kNotFound;

    // The engine works in the result's folder, where the program writes its picture too.
    const size_t slash = request.base.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : request.base.substr(0, slash);
    const std::wstring stem = request.base.substr(slash == std::wstring::npos ? 0 : slash + 1);
    const std::wstring pgm = request.base + L".pgm";
    // The engine writes "<part>.txt", which becomes "<base>.txt" in one step once it is whole:
    // the program takes the result file as soon as it sees it.
    const std::wstring part = request.base + L".part";
    const Leftovers leftovers({pgm, part + L".txt", part + L".hocr"});
    const std::optional<std::vector<Composed::Band>> bands = prepare(request.image, pgm);
    const bool ready = bands.has_value();
    // What could not be prepared goes to the engine as it is, but only a picture whose size is
    // known and no larger than a prepared one may be.
    if (!ready && !(size && static_cast<double>(size->width) * size->height <= kMostPixels))
        return kPictureRefused;
    std::vector<std::wstring> args = {ready ? stem + L".pgm" : reachable(folder, request.image),
                                      stem + L".part",
                                      L"-l",
                                      EngineLanguages(request.language),
                                      L"--psm",
                                      ready ? request.pageSegmentation : L"3"};
    if (engine == shipped)
        args.insert(args.end(),
                    {L"--tessdata-dir", reachable(folder, here + L"tesseract\\tessdata")});
    // The words and their letters with their places, besides the text: the rows are put
    // together from them.
    if (ready && !bands->empty())
        args.insert(args.end(), {L"-c", L"tessedit_create_txt=1", L"-c", L"tessedit_create_hocr=1",
                                 L"-c", L"hocr_char_boxes=1"});
    RunOptions options;
    options.timeLimitMs = 10 * 60 * 1000;
    options.logFile = TempFolder() + L"glimmershot-tesseract.log";
    options.folder = folder;
    const int code = RunProgram(engine, args, options);
    if (code != 0) return code;
    if (ready && !writeText(part, *bands)) return kToolFailed;
    const std::wstring done = part + L".txt";
    if (!MoveFileExW(done.c_str(), (request.base + L".txt").c_str(), MOVEFILE_REPLACE_EXISTING))
        return kToolFailed;
    return 0;
}

}  // namespace

int wmain() {
    // DLLs loaded from here on come from System32 only: not the current folder, the PATH or
    // this program's own folder, where one could be planted.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return Guarded(recognise);
}
