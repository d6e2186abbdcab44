#include "xml/XMLDocument.h"

#include "core/FileLock.h"
#include "core/TextCodec.h"
#include "resources/StringTable.h"
#include "xml/DomMemory.h"
#include "xml/ElementIndex.h"
#include "xml/XMLException.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Comments and processing instructions survive a save; whitespace between
// elements does not need to, since every save writes the line-broken layout
// anew. A field of blanks only is kept, though, or it would read back empty
// after a save (one with a line break is layout, see TidyParsedDocument). A leaf's text is kept in the element itself
// (no text node), which halves the number of nodes of a data file.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi
                                   | pugi::parse_embed_pcdata | pugi::parse_ws_pcdata_single;

enum class FileEncoding { Utf8, Utf16LE, Utf16BE, Latin1, Windows1252, Unsupported };

struct DetectedEncoding
{
    FileEncoding encoding = FileEncoding::Utf8;
    QByteArray name;  // as declared, for the error message
};

QByteArray DeclaredEncoding(const char* p, size_t n)
{
    // Only the XML declaration at the very start can name the encoding.
    if (n < 5 || std::memcmp(p, "<?xml", 5) != 0)
        return {};
    const size_t limit = std::min<size_t>(n, 512);
    const QByteArray head(p, static_cast<qsizetype>(limit));
    const qsizetype end = head.indexOf("?>");
    const QByteArray decl = end < 0 ? head : head.left(end);
    qsizetype pos = decl.indexOf("encoding");
    if (pos < 0)
        return {};
    pos += 8;
    while (pos < decl.size() && (decl[pos] == ' ' || decl[pos] == '=' || decl[pos] == '\t'))
        ++pos;
    if (pos >= decl.size() || (decl[pos] != '"' && decl[pos] != '\''))
        return {};
    const char quote = decl[pos];
    const qsizetype close = decl.indexOf(quote, pos + 1);
    if (close < 0)
        return {};
    return decl.mid(pos + 1, close - pos - 1).trimmed();
}

DetectedEncoding Detect(const char* p, size_t n)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    if (n >= 2 && u[0] == 0xFF && u[1] == 0xFE)
        return {FileEncoding::Utf16LE, "UTF-16"};
    if (n >= 2 && u[0] == 0xFE && u[1] == 0xFF)
        return {FileEncoding::Utf16BE, "UTF-16"};
    if (n >= 2 && u[0] == '<' && u[1] == 0)
        return {FileEncoding::Utf16LE, "UTF-16"};
    if (n >= 2 && u[0] == 0 && u[1] == '<')
        return {FileEncoding::Utf16BE, "UTF-16"};
    if (n >= 3 && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF)
        return {FileEncoding::Utf8, "UTF-8"};
    const QByteArray declared = DeclaredEncoding(p, n);
    const QByteArray name = declared.toLower();
    if (name.isEmpty() || name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii")
        return {FileEncoding::Utf8, declared};
    if (name == "iso-8859-1" || name == "iso8859-1" || name == "iso_8859-1" || name == "latin1"
        || name == "latin-1" || name == "l1")
        return {FileEncoding::Latin1, declared};
    if (name == "windows-1252" || name == "cp1252" || name == "x-cp1252")
        return {FileEncoding::Windows1252, declared};
    if (name == "utf-16" || name == "utf-16le" || name == "utf-16be")
        return {FileEncoding::Utf8, declared};  // declared but not stored as UTF-16: bytes decide
    return {FileEncoding::Unsupported, declared};
}

// A malloc'd buffer, as pugixml's in-place parser takes ownership of it.
struct Buffer
{
    char* p = nullptr;
    size_t n = 0;
    ~Buffer() { std::free(p); }
    char* release()
    {
        char* q = p;
        p = nullptr;
        return q;
    }
};

bool ToBuffer(const QByteArray& bytes, Buffer& out)
{
    out.n = static_cast<size_t>(bytes.size());
    out.p = static_cast<char*>(std::malloc(out.n ? out.n : 1));
    if (!out.p)
        return false;
    std::memcpy(out.p, bytes.constData(), out.n);
    return true;
}

#ifdef Q_OS_UNIX
// Reads n bytes at the offset without moving the file's position, so that
// two threads can read one open file.
bool ReadAt(int fd, char* p, size_t n, size_t nOffset)
{
    while (n > 0) {
        const ssize_t nGot = ::pread(fd, p, std::min<size_t>(n, 1 << 30), static_cast<off_t>(nOffset));
        if (nGot < 0 && errno == EINTR)
            continue;
        if (nGot <= 0)
            return false;
        p += nGot;
        n -= static_cast<size_t>(nGot);
        nOffset += static_cast<size_t>(nGot);
    }
    return true;
}
#endif

// Brings the file's bytes to UTF-8 in place of the original buffer.
void ConvertToUtf8(Buffer& buf, const DetectedEncoding& enc)
{
    if (enc.encoding == FileEncoding::Utf8)
        return;
    QString text;
    switch (enc.encoding) {
    case FileEncoding::Utf16LE:
        text = QStringDecoder(QStringConverter::Utf16LE).decode(QByteArrayView(buf.p, static_cast<qsizetype>(buf.n)));
        break;
    case FileEncoding::Utf16BE:
        text = QStringDecoder(QStringConverter::Utf16BE).decode(QByteArrayView(buf.p, static_cast<qsizetype>(buf.n)));
        break;
    case FileEncoding::Latin1:
        text = QString::fromLatin1(buf.p, static_cast<qsizetype>(buf.n));
        break;
    case FileEncoding::Windows1252:
        text = DecodeWindows1252(buf.p, static_cast<qsizetype>(buf.n));
        break;
    default:
        return;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QByteArray utf8 = text.toUtf8();
    std::free(buf.p);
    buf.p = nullptr;
    if (!ToBuffer(utf8, buf))
        throw std::bad_alloc();
}

// Whether a block of 16 bytes holds only printable ASCII, tabs and line
// ends: most of a data file, which is then checked 16 bytes at a time.
bool IsPlainBlock(const unsigned char* u)
{
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u));
    // Signed: bytes from 0x80 up are negative, so they count as below 0x20.
    const __m128i low = _mm_cmplt_epi8(v, _mm_set1_epi8(0x20));
    const __m128i allowed =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\t')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))),
                     _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')));
    return _mm_movemask_epi8(_mm_andnot_si128(allowed, low)) == 0;
#else
    for (int i = 0; i < 16; ++i)
        if (u[i] >= 0x80 || (u[i] < 0x20 && u[i] != '\t' && u[i] != '\n' && u[i] != '\r'))
            return false;
    return true;
#endif
}

bool IsNameOrSpace(unsigned char c)
{
    return c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
           || c == '-' || c == '.' || c == ':' || c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Whether the byte beyond ASCII at nAt may be part of an element, attribute
// or instruction name. A name is preceded, over name characters and blanks,
// by "<", "/", "?" or the quote that closed an attribute value; a byte
// reached from anything else, such as the ">" before a field's text, is in
// a text. Errs on the side of a name. The walk back stops at the previous
// such byte, whose answer it shares, so that a long run of them costs no more
// than one pass.
bool MayBeInName(const unsigned char* u, size_t nAt, ptrdiff_t& nLastForeign, bool& bLastInName)
{
    ptrdiff_t i = static_cast<ptrdiff_t>(nAt) - 1;
    while (i >= 0 && i > nLastForeign && IsNameOrSpace(u[i]))
        --i;
    bool bInName;
    if (i >= 0 && i == nLastForeign)
        bInName = bLastInName;
    else
        bInName = i < 0 || u[i] == '<' || u[i] == '/' || u[i] == '?' || u[i] == '"' || u[i] == '\'';
    nLastForeign = static_cast<ptrdiff_t>(nAt);
    bLastInName = bInName;
    return bInName;
}

// Finds the first byte that a strict parser refuses: a malformed UTF-8
// sequence or a control character XML does not allow; and tells whether
// every name in the text is sure to be ASCII. The text may come a piece at a
// time: Feed checks what is new, up to the last few bytes, which may start a
// sequence that the next piece ends.
struct CIllegalByteScan
{
    ptrdiff_t m_nFound = -1;
    bool m_bNamesAscii = true;
    ptrdiff_t m_nLastForeign = -1;
    bool m_bLastInName = false;
    size_t m_i = 0;
    size_t m_nSlowUntil = 0;

    void Feed(const char* p, size_t n, bool bFinal);
};

void CIllegalByteScan::Feed(const char* p, size_t n, bool bFinal)
{
    if (m_nFound >= 0)
        return;
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    bool& bNamesAscii = m_bNamesAscii;
    ptrdiff_t& nLastForeign = m_nLastForeign;
    bool& bLastInName = m_bLastInName;
    size_t& i = m_i;
    size_t& nSlowUntil = m_nSlowUntil;
    auto refuse = [this](size_t nAt) { m_nFound = static_cast<ptrdiff_t>(nAt); };
    // A sequence is at most four bytes long.
    const size_t nLimit = bFinal ? n : (n > 4 ? n - 4 : 0);
    while (i < nLimit) {
        if (i >= nSlowUntil && i + 16 <= n) {
            if (IsPlainBlock(u + i)) {
                i += 16;
                continue;
            }
            nSlowUntil = i + 16;
        }
        const unsigned char c = u[i];
        if (c >= 0x20 && c < 0x80) {
            ++i;
            continue;
        }
        if (c < 0x20) {
            if (c != '\t' && c != '\n' && c != '\r')
                return refuse(i);
            ++i;
            continue;
        }
        if (bNamesAscii)
            bNamesAscii = !MayBeInName(u, i, nLastForeign, bLastInName);
        size_t nLength = 0;
        unsigned nCode = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            nLength = 2;
            nCode = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            nLength = 3;
            nCode = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            nLength = 4;
            nCode = c & 0x07;
        } else {
            return refuse(i);
        }
        if (i + nLength > n)
            return refuse(i);
        for (size_t k = 1; k < nLength; ++k) {
            if ((u[i + k] & 0xC0) != 0x80)
                return refuse(i);
            nCode = (nCode << 6) | (u[i + k] & 0x3F);
        }
        // Overlong forms, surrogates, code points beyond U+10FFFF and the
        // two non-characters XML excludes.
        const unsigned nMinimum = nLength == 2 ? 0x80 : nLength == 3 ? 0x800 : 0x10000;
        if (nCode < nMinimum || (nCode >= 0xD800 && nCode <= 0xDFFF) || nCode > 0x10FFFF || nCode == 0xFFFE
            || nCode == 0xFFFF)
            return refuse(i);
        i += nLength;
    }
}

// Whether the text may hold an element whose whole content is blanks with a
// line break (CR or LF, which the parser turns into LF), the layout that
// TidyParsedDocument drops. Such a content runs from the ">" of a start tag
// to the "</" of the element's end tag; a line break after an end tag, an
// empty element's "/>" or a text is none. Errs on the side of yes. The text
// may come a piece at a time, as for CIllegalByteScan.
struct CLayoutTextScan
{
    bool m_bFound = false;
    size_t m_i = 1;
    void Feed(const char* p, size_t n, bool bFinal);
};

void CLayoutTextScan::Feed(const char* p, size_t n, bool bFinal)
{
    if (m_bFound)
        return;
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    auto isSpace = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    // At an end tag's "<" after a blank: does a start tag's ">" come before
    // the blanks, and do they hold a line break?
    auto layoutBefore = [&](size_t nLt) {
        ptrdiff_t k = static_cast<ptrdiff_t>(nLt) - 1;
        bool bBreak = false;
        for (; k >= 0 && isSpace(u[k]); --k)
            bBreak = bBreak || u[k] == '\n' || u[k] == '\r';
        if (!bBreak || k < 1 || u[k] != '>' || u[k - 1] == '/')
            return false;
        ptrdiff_t m = k - 1;
        while (m >= 0 && IsNameOrSpace(u[m]))
            --m;
        return !(m >= 1 && u[m] == '/' && u[m - 1] == '<');
    };
    size_t& i = m_i;
#if defined(__SSE2__) || defined(_M_X64)
    // 16 places at a time: a "<" with a "/" after it and a blank before.
    for (; i + 17 <= n; i += 16) {
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u + i - 1));
        const __m128i at = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u + i));
        const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u + i + 1));
        const __m128i blank = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(before, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(before, _mm_set1_epi8('\t'))),
            _mm_or_si128(_mm_cmpeq_epi8(before, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(before, _mm_set1_epi8('\r'))));
        const __m128i endTag =
            _mm_and_si128(_mm_cmpeq_epi8(at, _mm_set1_epi8('<')), _mm_cmpeq_epi8(after, _mm_set1_epi8('/')));
        for (unsigned nMask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(endTag, blank))); nMask;
             nMask &= nMask - 1) {
            if (layoutBefore(i + static_cast<size_t>(std::countr_zero(nMask)))) {
                m_bFound = true;
                return;
            }
        }
    }
#endif
    if (!bFinal)
        return;
    for (; i + 1 < n; ++i) {
        if (u[i] == '<' && u[i + 1] == '/' && isSpace(u[i - 1]) && layoutBefore(i)) {
            m_bFound = true;
            return;
        }
    }
}

// Whether the text holds a character reference ("&#"), which the parser
// may turn into a character other programs refuse; a piece at a time.
struct CCharRefScan
{
    bool m_bFound = false;
    size_t m_i = 0;
    void Feed(const char* p, size_t n, bool bFinal)
    {
        // memchr for the rare "&", not a general search: this runs over the whole file.
        while (!m_bFound && m_i < n) {
            const void* pAmp = std::memchr(p + m_i, '&', n - m_i);
            if (!pAmp) {
                m_i = n;
                return;
            }
            const size_t nAt = static_cast<size_t>(static_cast<const char*>(pAmp) - p);
            if (nAt + 1 >= n && !bFinal) {
                m_i = nAt;
                return;
            }
            m_bFound = nAt + 1 < n && p[nAt + 1] == '#';
            m_i = nAt + 1;
        }
    }
};

// The checks a file's text gets before it is parsed, fed together.
struct CTextChecks
{
    CIllegalByteScan m_illegal;
    CLayoutTextScan m_layout;
    CCharRefScan m_charRefs;
    void Feed(const char* p, size_t n, bool bFinal)
    {
        m_illegal.Feed(p, n, bFinal);
        m_layout.Feed(p, n, bFinal);
        m_charRefs.Feed(p, n, bFinal);
    }
    // Takes in the checks of the text from nAt on, made on their own.
    void Join(const CTextChecks& rest, size_t nAt)
    {
        if (m_illegal.m_nFound < 0 && rest.m_illegal.m_nFound >= 0)
            m_illegal.m_nFound = static_cast<ptrdiff_t>(nAt) + rest.m_illegal.m_nFound;
        m_illegal.m_bNamesAscii = m_illegal.m_bNamesAscii && rest.m_illegal.m_bNamesAscii;
        m_layout.m_bFound = m_layout.m_bFound || rest.m_layout.m_bFound;
        m_charRefs.m_bFound = m_charRefs.m_bFound || rest.m_charRefs.m_bFound;
    }
};

// Where the checks can start afresh in the text from nFrom on: a "<" that
// begins no end tag. No check looks back past a "<", nor needs the byte
// before it there. n when there is none.
size_t FreshStart(const char* p, size_t nFrom, size_t n)
{
    while (nFrom + 1 < n) {
        const void* pLt = std::memchr(p + nFrom, '<', n - 1 - nFrom);
        if (!pLt)
            return n;
        nFrom = static_cast<size_t>(static_cast<const char*>(pLt) - p);
        if (p[nFrom + 1] != '/')
            return nFrom;
        ++nFrom;
    }
    return n;
}

// Reads the end of a large file from nFirst on, and checks it from the
// first fresh start on, a piece at a time as the first part is. The checks
// are of use only if the file turns out to be UTF-8.
struct CRestReader
{
    CTextChecks m_checks;
    size_t m_nCheckedFrom = 0;  // n when nothing was checked
    bool m_bRead = false;

    void Run(int fd, char* p, size_t nFirst, size_t n, size_t nPiece)
    {
#ifdef Q_OS_UNIX
        MakePages(p + nFirst, n - nFirst);
        m_nCheckedFrom = n;
        size_t nSearched = nFirst;
        for (size_t nRead = nFirst; nRead < n;) {
            const size_t nGet = std::min(nPiece, n - nRead);
            if (!ReadAt(fd, p + nRead, nGet, nRead))
                return;
            nRead += nGet;
            if (m_nCheckedFrom == n) {
                const size_t nStart = FreshStart(p, nSearched, nRead);
                if (nStart < nRead)
                    m_nCheckedFrom = nStart;
                else
                    nSearched = nRead > nSearched + 1 ? nRead - 1 : nSearched;
            }
            if (m_nCheckedFrom < n)
                m_checks.Feed(p + m_nCheckedFrom, nRead - m_nCheckedFrom, nRead == n);
        }
        m_bRead = true;
#else
        Q_UNUSED(fd);
        Q_UNUSED(p);
        Q_UNUSED(nFirst);
        Q_UNUSED(n);
        Q_UNUSED(nPiece);
#endif
    }
};

// Character references to control characters (&#1;) are taken by the parser
// but make a file other programs refuse; such texts are stored the way new
// texts are.
void MakeTextsXmlSafe(pugi::xml_node node)
{
    // Compared as bytes: a reference beyond Unicode leaves bytes that are no
    // UTF-8, which the decoding alone would hide. A text may start with
    // U+FEFF, which is a character here, not a byte-order mark.
    auto safeBytes = [](const char* psz) {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return XmlSafeText(decoder(QByteArrayView(psz))).toUtf8();
    };
    for (pugi::xml_node n = node; n;) {
        const char* pszValue = n.value();
        if (*pszValue) {
            const QByteArray safe = safeBytes(pszValue);
            // An element's own text (kept in the element itself) is set
            // through its text; set_value refuses elements.
            if (safe != pszValue && n.type() == pugi::node_element)
                n.text().set(safe.constData());
            else if (safe != pszValue)
                n.set_value(safe.constData());
        }
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
            const QByteArray safe = safeBytes(a.value());
            if (safe != a.value())
                a.set_value(safe.constData());
        }
        // Depth first, without recursion: files can be deep.
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && !n.next_sibling() && n != node)
            n = n.parent();
        if (!n || n == node)
            break;
        n = n.next_sibling();
    }
}

bool IsLayoutSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsBlank(const char* psz)
{
    for (; *psz; ++psz) {
        if (!IsLayoutSpace(*psz))
            return false;
    }
    return true;
}

bool HasForeignByte(const char* psz)
{
    for (; *psz; ++psz) {
        if (static_cast<unsigned char>(*psz) >= 0x80)
            return true;
    }
    return false;
}

// One walk over the parsed document, for what the parser leaves to us:
// - A blank text with a line break is the layout of an empty element
//   ("<Result-Data>\n</Result-Data>"), not a field's text: it is dropped, so
//   elements added to it later keep the line-broken layout.
// - A blank text beside elements, which only a reference ("&#9;") brings
//   in, is dropped too: the next load would drop it as written, so a second
//   save would differ from the first.
// - With bNames, the offset of the "<" of the first element or processing
//   instruction whose name or attribute name has a character beyond ASCII
//   is returned: the data files use ASCII names only, and older strict
//   parsers refuse many others.
// -1 when there is none.
ptrdiff_t TidyParsedDocument(pugi::xml_document& doc, bool bLayout, bool bNames)
{
    if (!bLayout && !bNames)
        return -1;
    // The library's own walk: its steps from node to node cost no calls.
    class CWalker : public pugi::xml_tree_walker
    {
    public:
        CWalker(bool bLayout, bool bNames)
            : m_bLayout(bLayout)
            , m_bNames(bNames)
        {
        }
        bool for_each(pugi::xml_node& n) override
        {
            const pugi::xml_node_type type = n.type();
            if (m_bLayout && type == pugi::node_element) {
                const char* pszValue = n.value();
                if (IsLayoutSpace(*pszValue) && (std::strchr(pszValue, '\n') || n.first_child()) && IsBlank(pszValue))
                    n.text().set("");
            }
            if (m_bLayout && type == pugi::node_pcdata && IsBlank(n.value()))
                m_blanks.push_back(n);
            if (!m_bNames)
                return true;
            bool bForeign = HasForeignByte(n.name());
            for (pugi::xml_attribute a = n.first_attribute(); a && !bForeign; a = a.next_attribute())
                bForeign = HasForeignByte(a.name());
            // The offset names the name; the error points at the "<".
            if (bForeign)
                m_nForeign = n.offset_debug() - (type == pugi::node_pi ? 2 : 1);
            return !bForeign;
        }
        const bool m_bLayout;
        const bool m_bNames;
        ptrdiff_t m_nForeign = -1;
        std::vector<pugi::xml_node> m_blanks;
    } walker(bLayout, bNames);
    doc.traverse(walker);
    for (pugi::xml_node n : walker.m_blanks)
        n.parent().remove_child(n);
    return walker.m_nForeign;
}

// A reference to NUL would end its text there, so that distinct texts merge;
// it becomes the escape a NUL from the device gets. The buffer is replaced
// when anything changed.
void EscapeNulReferences(char*& pBuffer, size_t& nSize)
{
    QByteArray text;
    const QByteArray raw = QByteArray::fromRawData(pBuffer, static_cast<qsizetype>(nSize));
    qsizetype nCopied = 0;
    for (qsizetype i = raw.indexOf("&#"); i >= 0; i = raw.indexOf("&#", i + 2)) {
        qsizetype j = i + 2;
        if (j < raw.size() && raw[j] == 'x')
            ++j;
        const qsizetype nFirstDigit = j;
        while (j < raw.size() && raw[j] == '0')
            ++j;
        if (j == nFirstDigit || j >= raw.size() || raw[j] != ';')
            continue;
        text += raw.mid(nCopied, i - nCopied) + "\\x00";
        nCopied = j + 1;
    }
    if (nCopied == 0)
        return;
    text += raw.mid(nCopied);
    Buffer buf;
    const bool bCopied = ToBuffer(text, buf);
    std::free(pBuffer);
    pBuffer = nullptr;
    if (!bCopied)
        throw std::bad_alloc();
    nSize = buf.n;
    pBuffer = buf.release();
}

// Line and column (both from 1, the column in characters) of a byte offset.
void LineColumn(const char* p, size_t n, ptrdiff_t offset, int& nLine, int& nColumn)
{
    nLine = 1;
    nColumn = 1;
    const size_t end = std::min<size_t>(n, offset < 0 ? 0 : static_cast<size_t>(offset));
    for (size_t i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c == '\n') {
            ++nLine;
            nColumn = 1;
        } else if (c == '\r') {
            if (i + 1 < end && p[i + 1] == '\n')
                continue;
            ++nLine;
            nColumn = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++nColumn;
        }
    }
}

CXMLException ParseError(const QString& strSource, int nLine, int nColumn, unsigned nCode, const QString& strReason)
{
    return CXMLException(LoadString(IDS_XML_PARSE_ERROR)
                             .arg(strSource)
                             .arg(nLine)
                             .arg(nColumn)
                             .arg(QString::number(nCode, 16))
                             .arg(strReason));
}

// Streams pugixml's output into the file with CR LF line ends, in blocks,
// so a save holds no second copy of the whole text. Text that already holds
// CR LF is not doubled.
class CrLfWriter : public pugi::xml_writer
{
public:
    // One block for the whole save, never given back in between: a block
    // freed and taken again is faulted in anew, MiB by MiB.
    explicit CrLfWriter(QIODevice& dev)
        : m_dev(dev)
        , m_pBuf(new char[kBlock + kSlack])
    {
    }

    void write(const void* data, size_t size) override
    {
        const char* p = static_cast<const char*>(data);
        const char* const end = p + size;
        // At the top of the loop the block has room for at least kSlack
        // more bytes.
        while (p < end) {
#if defined(__SSE2__) || defined(_M_X64)
            if (end - p >= 16) {
                // 16 bytes are copied at once; the output then counts them
                // up to the first line feed, if there is one.
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(m_pBuf.get() + m_nUsed), v);
                const unsigned nMask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))));
                if (nMask == 0) {
                    m_last = p[15];
                    m_nUsed += 16;
                    p += 16;
                } else {
                    const int k = std::countr_zero(nMask);
                    m_nUsed += k;
                    EndLine(k > 0 ? p[k - 1] : m_last);
                    p += k + 1;
                }
                if (m_nUsed >= kBlock)
                    Flush();
                continue;
            }
#endif
            const char c = *p++;
            if (c == '\n') {
                EndLine(m_last);
            } else {
                m_pBuf[m_nUsed++] = c;
                m_last = c;
            }
            if (m_nUsed >= kBlock)
                Flush();
        }
    }

    // False when a write failed (disk full, say).
    bool Flush()
    {
        if (!m_bFailed && m_nUsed > 0 && m_dev.write(m_pBuf.get(), m_nUsed) != m_nUsed)
            m_bFailed = true;
        m_nUsed = 0;
        return !m_bFailed;
    }

private:
    // A line feed, after a CR unless the text before it ended in one.
    void EndLine(char cBefore)
    {
        if (cBefore != '\r')
            m_pBuf[m_nUsed++] = '\r';
        m_pBuf[m_nUsed++] = '\n';
        m_last = '\n';
    }

    static constexpr qsizetype kBlock = 1 << 20;
    static constexpr qsizetype kSlack = 64 << 10;
    QIODevice& m_dev;
    std::unique_ptr<char[]> m_pBuf;
    qsizetype m_nUsed = 0;
    char m_last = 0;
    bool m_bFailed = false;
};

bool IsRegularFile(const QString& strPath)
{
#ifdef Q_OS_UNIX
    struct stat st;
    return ::stat(QFile::encodeName(strPath).constData(), &st) == 0 && S_ISREG(st.st_mode);
#else
    return QFileInfo(strPath).isFile();
#endif
}

// The temporary file gets the permissions of the file it replaces (QSaveFile
// sees to that); its owner and group too, where the process may set them.
void KeepOwner(QSaveFile& file)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(file.fileName()).constData(), &st) != 0)
        return;
    const int fd = file.handle();
    if (fd >= 0 && ::fchown(fd, st.st_uid, st.st_gid) != 0) {
        // Not allowed to give it away: the group alone, or nothing.
        [[maybe_unused]] const int n = ::fchown(fd, static_cast<uid_t>(-1), st.st_gid);
    }
#else
    Q_UNUSED(file);
#endif
}

// The rename that completes a save is an entry of the folder: without
// syncing the folder, a power cut can bring back the old name.
void SyncFolder(const QString& strPath)
{
#ifdef Q_OS_UNIX
    const QByteArray folder = QFile::encodeName(QFileInfo(strPath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(strPath);
#endif
}

} // namespace

CXMLDocument::CXMLDocument() = default;

// --- look-ups by key ---------------------------------------------------------

CElementIndex& CXMLDocument::Index() const
{
    if (!m_pIndex)
        m_pIndex = std::make_unique<CElementIndex>();
    if (!m_bIndexCurrent || m_nIndexGeneration != m_nLoadGeneration) {
        m_pIndex->Build(GetDocumentElement());
        m_bIndexCurrent = true;
        m_nIndexGeneration = m_nLoadGeneration;
    }
    return *m_pIndex;
}

pugi::xml_node CXMLDocument::FindResultElement(const CResultIdentity& identity) const
{
    bool bStale = false;
    const pugi::xml_node found = Index().FindResult(identity, &bStale);
    if (!bStale)
        return found;
    m_bIndexCurrent = false;
    return Index().FindResult(identity);
}

const std::vector<pugi::xml_node>& CXMLDocument::ResultElementsOf(const QString& strID) const
{
    return Index().ResultsOf(strID);
}

pugi::xml_node CXMLDocument::FindLocationElement(const QString& strID) const
{
    return Index().FindLocation(strID);
}

// Only an index that is current is kept up; any other is built on its next use.
bool CXMLDocument::IsIndexCurrent() const
{
    return m_pIndex && m_bIndexCurrent && m_nIndexGeneration == m_nLoadGeneration;
}

void CXMLDocument::NoteInserted(pugi::xml_node element)
{
    if (IsIndexCurrent())
        m_pIndex->Insert(element);
}

void CXMLDocument::NoteRemoving(pugi::xml_node element)
{
    if (IsIndexCurrent())
        m_pIndex->Remove(element);
    m_bRemovalAnnounced = true;
}

void CXMLDocument::NoteChanged(pugi::xml_node element)
{
    if (IsIndexCurrent())
        m_pIndex->Rekey(element);
}

void CXMLDocument::NoteRemoval()
{
    ++m_nRemoveGeneration;
    // Elements taken out unannounced may still be filed: never follow them.
    if (!m_bRemovalAnnounced)
        m_bIndexCurrent = false;
    m_bRemovalAnnounced = false;
}

CXMLDocument::~CXMLDocument()
{
    Close();
}

void CXMLDocument::CreateDOM()
{
    m_pDOM = std::make_unique<pugi::xml_document>();
}

void CXMLDocument::Open(const QString& strFileName)
{
    m_strFileName = strFileName;
    CreateDOM();
    Load();
}

void CXMLDocument::Close()
{
    m_pDOM.reset();
    m_bLoaded = false;
    m_bSaveSuppressed = false;
    ++m_nLoadGeneration;
}

bool CXMLDocument::IsValid() const
{
    return m_pDOM && m_bLoaded;
}

pugi::xml_node CXMLDocument::GetDocumentNode() const
{
    return IsValid() ? pugi::xml_node(*m_pDOM) : pugi::xml_node();
}

pugi::xml_node CXMLDocument::GetDocumentElement() const
{
    return IsValid() ? m_pDOM->document_element() : pugi::xml_node();
}

void CXMLDocument::Load()
{
    m_bLoaded = false;
    ++m_nLoadGeneration;
    if (m_strFileName.isEmpty() || !m_pDOM)
        return;
    m_pDOM->reset();

    QFile file(m_strFileName);
    if (!file.exists())
        throw CXMLException(LoadString(IDS_XML_NOT_FOUND).arg(m_strFileName));
    // A FIFO would block the open, a device such as /dev/zero never ends.
    if (!IsRegularFile(m_strFileName))
        throw CXMLException(LoadString(IDS_XML_LOAD_FAILED).arg(m_strFileName)
                            + QStringLiteral("\nnot a regular file"));
    if (!file.open(QIODevice::ReadOnly))
        throw CXMLException(LoadString(IDS_XML_LOAD_FAILED).arg(m_strFileName) + u'\n' + file.errorString());
    // Taken before reading: a change made while reading shows as a change.
    const FileStamp stamp = StampOf(m_strFileName);

    Buffer buf;
    buf.n = static_cast<size_t>(file.size());
    buf.p = static_cast<char*>(std::malloc(buf.n ? buf.n : 1));
    if (!buf.p)
        throw CXMLException(LoadString(IDS_XML_LOAD_FAILED).arg(m_strFileName));
    // Read a piece at a time and, for UTF-8, checked while the piece is
    // still in the cache: three passes over a large file in memory cost
    // more than its parse.
#ifdef QARDA_SMALL_READ_PIECES
    // Fuzzing: small inputs cross many pieces and the split below.
    constexpr size_t kPiece = 7;
#else
    constexpr size_t kPiece = 512 * 1024;
#endif
    // The second half of a large file is read and checked by a second thread
    // at the same time: copying out of the system's cache is bound by a
    // core, not by memory.
    const size_t nFirst = buf.n >= 4 * kPiece ? buf.n / 2 : buf.n;
    std::thread rest;
    CRestReader restReader;
#ifdef Q_OS_UNIX
    if (nFirst < buf.n)
        rest = std::thread([&buf, &restReader, nFirst, fd = file.handle()] {
            restReader.Run(fd, buf.p, nFirst, buf.n, kPiece);
        });
#endif
    // Joined on every way out, a throw included: the thread writes into buf.
    const auto joinRest = qScopeGuard([&rest] {
        if (rest.joinable())
            rest.join();
    });
    const size_t nOwn = rest.joinable() ? nFirst : buf.n;
    MakePages(buf.p, nOwn);
    CTextChecks checks;
    std::optional<DetectedEncoding> enc;
    size_t nRead = 0;
    while (nRead < nOwn) {
        const qint64 nGot = file.read(buf.p + nRead, static_cast<qint64>(std::min(kPiece, nOwn - nRead)));
        if (nGot <= 0)
            throw CXMLException(LoadString(IDS_XML_LOAD_FAILED).arg(m_strFileName));
        nRead += static_cast<size_t>(nGot);
        // The encoding is told by the first bytes (a byte-order mark or the declaration).
        if (!enc && (nRead >= 512 || nRead == buf.n))
            enc = Detect(buf.p, nRead);
        if (enc && enc->encoding == FileEncoding::Utf8 && nRead < buf.n)
            checks.Feed(buf.p, nRead, false);
    }
    const bool bSplit = rest.joinable();
    if (bSplit) {
        rest.join();
        if (!restReader.m_bRead)
            throw CXMLException(LoadString(IDS_XML_LOAD_FAILED).arg(m_strFileName));
    }
    file.close();
    if (!enc)
        enc = Detect(buf.p, buf.n);
    if (enc->encoding == FileEncoding::Unsupported) {
        const qsizetype at = QByteArray(buf.p, static_cast<qsizetype>(std::min<size_t>(buf.n, 512))).indexOf("encoding");
        throw ParseError(m_strFileName, 1, static_cast<int>(at + 1), pugi::status_bad_pi,
                         QStringLiteral("unsupported encoding '%1'").arg(QString::fromLatin1(enc->name)));
    }
    if (enc->encoding != FileEncoding::Utf8) {
        // Converted as a whole, then checked from the start.
        ConvertToUtf8(buf, *enc);
        checks = {};
    }
    if (bSplit && enc->encoding == FileEncoding::Utf8 && restReader.m_nCheckedFrom < buf.n) {
        checks.Feed(buf.p, restReader.m_nCheckedFrom, true);
        checks.Join(restReader.m_checks, restReader.m_nCheckedFrom);
    } else {
        checks.Feed(buf.p, buf.n, true);
    }
    const bool bNamesAscii = checks.m_illegal.m_bNamesAscii;
    const ptrdiff_t nIllegal = checks.m_illegal.m_nFound;
    if (nIllegal >= 0) {
        int nLine = 1, nColumn = 1;
        LineColumn(buf.p, buf.n, nIllegal, nLine, nColumn);
        throw ParseError(m_strFileName, nLine, nColumn, pugi::status_bad_pcdata,
                         QStringLiteral("invalid character (byte 0x%1)")
                             .arg(static_cast<unsigned char>(buf.p[nIllegal]), 2, 16, QLatin1Char('0')));
    }
    const size_t nSize = buf.n;
    const QString strFileName = m_strFileName;
    const bool bLayoutFree = !checks.m_layout.m_bFound;
    if (m_readHook)
        m_readHook();
    // A large file's nodes take their pages from a region of their own, made
    // ahead of the parse; they need about half the file's size.
#ifdef QARDA_SMALL_READ_PIECES
    constexpr size_t kOwnMemoryFrom = 0;
#else
    constexpr size_t kOwnMemoryFrom = 1 << 20;
#endif
    std::optional<CDomMemoryScope> memory;
    if (nSize >= kOwnMemoryFrom)
        memory.emplace(nSize);
    ParseBuffer(buf.release(), nSize, bNamesAscii, bLayoutFree, checks.m_charRefs.m_bFound, m_strFileName,
                [&strFileName, enc = *enc] {
        Buffer again;
        QFile f(strFileName);
        if (!f.open(QIODevice::ReadOnly) || !ToBuffer(f.readAll(), again))
            return QByteArray();
        ConvertToUtf8(again, enc);
        return QByteArray(again.p, static_cast<qsizetype>(again.n));
    });
    m_stamp = stamp;
}

CXMLDocument::FileStamp CXMLDocument::StampOf(const QString& strPath)
{
    FileStamp stamp;
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(strPath).constData(), &st) != 0)
        return stamp;
    stamp.nSize = st.st_size;
    stamp.nModified = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.nInode = st.st_ino;
#else
    const QFileInfo info(strPath);
    if (!info.exists())
        return stamp;
    stamp.nSize = info.size();
    stamp.nModified = info.lastModified().toMSecsSinceEpoch() * 1000000;
#endif
    return stamp;
}

bool CXMLDocument::IsChangedOnDisk() const
{
    return IsValid() && !(StampOf(m_strFileName) == m_stamp);
}

std::unique_ptr<CFileLock> CXMLDocument::TakeLock(int nWaitMs) const
{
    // In the temporary folder, named after the file: a read-only data folder
    // can still be locked, and nothing is added beside the user's files.
    const QByteArray key = QCryptographicHash::hash(QFileInfo(m_strFileName).absoluteFilePath().toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    auto pLock =
        std::make_unique<CFileLock>(QDir::temp().filePath(QStringLiteral("qarda-%1.lock").arg(QLatin1String(key))));
    switch (pLock->TryLock(nWaitMs)) {
    case CFileLock::Result::Locked:
        return pLock;
    case CFileLock::Result::Busy:
        throw CXMLException(LoadString(IDS_XML_LOCKED).arg(m_strFileName));
    case CFileLock::Result::Unavailable:
        break;
    }
    // No lock can be made here at all: go on without one rather than refuse
    // every change; the check of the file's stamp still keeps another
    // writer's save.
    return nullptr;
}

std::unique_ptr<CXMLDocument::CChangeLock> CXMLDocument::LockForChange(int nWaitMs)
{
    if (m_bLocked)
        throw CXMLException(LoadString(IDS_XML_LOCKED).arg(m_strFileName));
    auto pLock = TakeLock(nWaitMs);
    if (IsValid() && IsChangedOnDisk())
        Reload();
    // A file of another kind is refused before anything is changed in it.
    if (IsValid())
        CheckWritable();
    return std::make_unique<CChangeLock>(this, std::move(pLock));
}

CXMLDocument::CChangeLock::CChangeLock(CXMLDocument* pDocument, std::unique_ptr<CFileLock> pLock)
    : m_pDocument(pDocument)
    , m_pLock(std::move(pLock))
{
    m_pDocument->m_bLocked = true;
}

CXMLDocument::CChangeLock::~CChangeLock()
{
    m_pDocument->m_bLocked = false;
}

void CXMLDocument::CheckWritable() const
{
    const pugi::xml_node root = m_pDOM->document_element();
    const QString strRoot = QString::fromUtf8(root.name());
    if (!m_strExpectedRoot.isEmpty() && strRoot != m_strExpectedRoot)
        throw CXMLException(LoadString(IDS_XML_WRONG_ROOT).arg(m_strFileName, strRoot, m_strExpectedRoot));
}

void CXMLDocument::ParseBuffer(char* pBuffer, size_t nSize, bool bNamesAscii, bool bLayoutFree, bool bCharRefs,
                               const QString& strSource, const std::function<QByteArray()>& original)
{
    if (bCharRefs)
        EscapeNulReferences(pBuffer, nSize);
    const pugi::xml_parse_result result =
        m_pDOM->load_buffer_inplace_own(pBuffer, nSize, kParseOptions, pugi::encoding_utf8);
    if (!result) {
        m_pDOM->reset();
        // The in-place parse has rewritten the buffer; the position is
        // counted on a fresh copy of the text.
        const QByteArray text = original();
        int nLine = 1, nColumn = 1;
        LineColumn(text.constData(), static_cast<size_t>(text.size()), result.offset, nLine, nColumn);
        throw ParseError(strSource, nLine, nColumn, static_cast<unsigned>(result.status),
                         QString::fromUtf8(result.description()));
    }
    // The file is written back as UTF-8, so its declaration must say so.
    for (pugi::xml_node n = m_pDOM->first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_declaration && n.attribute("encoding"))
            n.attribute("encoding").set_value("UTF-8");
    }
    if (!m_pDOM->document_element())
        throw CXMLException(IDS_XML_DOCNODE);
    if (const ptrdiff_t nForeign = TidyParsedDocument(*m_pDOM, bCharRefs || !bLayoutFree, !bNamesAscii);
        nForeign >= 0) {
        const QByteArray text = original();
        int nLine = 1, nColumn = 1;
        LineColumn(text.constData(), static_cast<size_t>(text.size()), nForeign, nLine, nColumn);
        m_pDOM->reset();
        throw ParseError(strSource, nLine, nColumn, pugi::status_bad_start_element,
                         QStringLiteral("a name with characters beyond ASCII"));
    }
    // The parser takes several root elements, and a CDATA section beside the
    // root; other programs do not, and a save would write them back.
    int nRoots = 0;
    for (pugi::xml_node n = m_pDOM->first_child(); n; n = n.next_sibling()) {
        const bool bSecondRoot = n.type() == pugi::node_element && ++nRoots == 2;
        if (bSecondRoot || n.type() == pugi::node_cdata || n.type() == pugi::node_pcdata) {
            const QByteArray text = original();
            int nLine = 1, nColumn = 1;
            // The offset names the element's name or the section's text; the
            // error points at the "<" before them.
            const ptrdiff_t nAt = n.offset_debug() - (n.type() == pugi::node_cdata ? 9 : bSecondRoot ? 1 : 0);
            LineColumn(text.constData(), static_cast<size_t>(text.size()), nAt, nLine, nColumn);
            m_pDOM->reset();
            throw ParseError(strSource, nLine, nColumn, pugi::status_end_element_mismatch,
                             bSecondRoot ? QStringLiteral("a second root element")
                                         : QStringLiteral("a text outside the root element"));
        }
    }
    if (bCharRefs)
        MakeTextsXmlSafe(m_pDOM->document_element());
    m_bLoaded = true;
}

void CXMLDocument::LoadXML(const QString& strXML)
{
    if (!m_pDOM)
        CreateDOM();
    m_bLoaded = false;
    ++m_nLoadGeneration;
    const QByteArray utf8 = strXML.toUtf8();
    Buffer buf;
    if (!ToBuffer(utf8, buf))
        throw CXMLException(IDS_XML_LOADXML);
    const size_t nSize = buf.n;
    try {
        CCharRefScan charRefs;
        charRefs.Feed(buf.p, nSize, true);
        ParseBuffer(buf.release(), nSize, false, false, charRefs.m_bFound, QStringLiteral("XML"),
                    [&utf8] { return utf8; });
    } catch (const CXMLException& e) {
        throw CXMLException(IDS_XML_LOADXML, e.GetErrorMessage());
    }
}

void CXMLDocument::Reload()
{
    m_bSaveSuppressed = false;
    Load();
}

void CXMLDocument::Save(bool bFormat)
{
    m_bSaveSuppressed = false;
    if (!IsValid())
        return;
    CheckWritable();
    // Another writer may hold the file; under our own change lock we already
    // hold it.
    std::unique_ptr<CFileLock> pLock = m_bLocked ? nullptr : TakeLock(10000);
    // Writing now would throw away what another program saved since.
    // (A target that is gone or no longer a file fails in the save itself.)
    if (IsRegularFile(m_strFileName) && IsChangedOnDisk()) {
        const CXMLException e(LoadString(IDS_XML_CHANGED_ON_DISK).arg(m_strFileName));
        // Memory follows the file again; a file that no longer loads leaves
        // the document invalid, and its own message follows on the next use.
        try {
            Reload();
        } catch (const CXMLException&) {
        }
        throw e;
    }

    // The text goes to a temporary file beside the target, which replaces
    // the target only when it is complete and on disk.
    QSaveFile file(m_strFileName);
    if (!file.open(QIODevice::WriteOnly))
        throw CXMLException(IDS_XML_SAVE, m_strFileName + QStringLiteral(": ") + file.errorString());
    CrLfWriter writer(file);
    // One pass: the line-broken layout and CR LF come straight out of the
    // writer, nothing rewrites the file afterwards.
    m_pDOM->save(writer, "", bFormat ? pugi::format_indent : pugi::format_raw, pugi::encoding_utf8);
    // QSaveFile holds up to 16 KiB in its buffer and commits even when
    // writing that buffer out at the end fails (a full disk): the buffer is
    // flushed here, where a failure can still cancel.
    if (!writer.Flush() || !file.flush()) {
        const QString strReason = file.errorString();
        file.cancelWriting();
        throw CXMLException(IDS_XML_SAVE, m_strFileName + QStringLiteral(": ") + strReason);
    }
    KeepOwner(file);
    if (!file.commit())
        throw CXMLException(IDS_XML_SAVE, m_strFileName + QStringLiteral(": ") + file.errorString());
    SyncFolder(m_strFileName);
    m_stamp = StampOf(m_strFileName);
}

void CXMLDocument::SaveAfterChange()
{
    if (!m_bSaveSuppressed)
        Save(true);
}
