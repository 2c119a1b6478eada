#include "TestFiles.h"

#include "support/clsINI.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>

#include <functional>
#include <vector>

#include <unistd.h>

namespace {

using namespace Qt::StringLiterals;

class IniTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    QString path() const { return folder.filePath(QStringLiteral("test.ini")); }
    clsINI ini(int buffer = 8192) const
    {
        clsINI file(buffer);
        file.setFileName(path());
        return file;
    }
};

struct ReadCase
{
    const char *name;
    QByteArray file;
    QByteArray section;
    QByteArray key;
    QByteArray standard;
    QByteArray expected;
    int buffer = 8192;
};

TEST_F(IniTest, ReadsWhatThePlatformFunctionsRead)
{
    const std::vector<ReadCase> cases = {
        {"found value", "[Config]\r\nCacheFelder=1\r\n", "Config", "CacheFelder", "0", "1"},
        {"missing section", "[Other]\r\nk=v\r\n", "Config", "k", "dflt", "dflt"},
        {"missing key", "[Config]\r\nk=v\r\n", "Config", "x", "dflt", "dflt"},
        {"empty file", "", "Config", "k", "dflt", "dflt"},
        {"header without lines", "[Config]", "Config", "k", "dflt", "dflt"},
        {"empty value", "[S]\r\nKey=\r\n", "S", "Key", "dflt", ""},
        {"empty value with blank before =", "[S]\r\nKey =\r\n", "S", "Key", "dflt", ""},
        {"value of blanks", "[S]\r\nKey=   \r\n", "S", "Key", "dflt", ""},
        {"names in any case", "[Config]\r\nCacheFelder=Wert\r\n", "config", "CACHEFELDER", "",
         "Wert"},
        {"blanks inside names kept", "[S]\r\n  My Key  =  a b  \r\n", "S", "My Key", "d", "a b"},
        {"names with inner blanks differ", "[S]\r\nMy Key=1\r\n", "S", "MyKey", "d", "d"},
        {"semicolons in value", "[S]\r\nZeile1=88;Name;mit;Semikolon\r\n", "S", "Zeile1", "",
         "88;Name;mit;Semikolon"},
        {"comments and blank lines inside", "[S]\r\n;comment\r\n\r\n   \r\nk=v\r\n", "S", "k", "",
         "v"},
        {"last line without line end", "[S]\r\nk=v", "S", "k", "", "v"},
        {"lone CR ends a line", "[S]\rk=v\rl=w", "S", "l", "", "w"},
        {"LFCR and CRCRLF end a line", "[S]\n\rk=v\r\r\nl=w", "S", "k", "", "v"},
        {"tab VT FF Ctrl-Z trimmed", "[S]\r\n\tk\x0b=\x0c v \x1a\r\n\x1a", "S", "k", "", "v"},
        {"no-break space kept", "[S]\r\nk=\xa0v\xa0\r\n", "S", "k", "", "\xa0v\xa0"},
        {"blanks inside header", "[ S ]\r\nk=1\r\n", "S", "k", "", "1"},
        {"header name up to last ]", "[C] x]\r\nk=2\r\n", "C] x", "k", "", "2"},
        {"text after ] defines no key", "[B]b=2\r\n", "B", "b", "d", "d"},
        {"indented header", "   [I]\r\nk=3\r\n", "I", "k", "", "3"},
        {"[ without ] stays in the section", "[S]\r\n[nope\r\nk=4\r\n", "S", "k", "", "4"},
        {"line without = gives default", "[S]\r\nflag\r\n", "S", "flag", "d", "d"},
        {"lines before first header", "a=1\r\n[S]\r\nb=2\r\n", "", "a", "", "1"},
        {"second empty-named section unreachable", "a=1\r\n[]\r\nc=3\r\n", "", "c", "d", "d"},
        {"header [] reached without leading lines", "\r\n  \r\n[]\r\nc=3\r\n", "", "c", "d", "3"},
        {"semicolon line is a key", "[S]\r\n;K=v\r\n", "S", ";K", "", "v"},
        {"hash line is a key", "[S]\r\n#K=v\r\n", "S", "#K", "", "v"},
        {"comment text after value kept", "[S]\r\nK=v ;c\r\n", "S", "K", "", "v ;c"},
        {"first = separates", "[S]\r\nK=a=b\r\n", "S", "K", "", "a=b"},
        {"== value", "[S]\r\nL==x\r\n", "S", "L", "", "=x"},
        {"= = value", "[S]\r\nM = = y\r\n", "S", "M", "", "= y"},
        {"caller names trimmed", "[Config]\r\nk=v\r\n", "  Config  ", " k\t", "", "v"},
        {"first section wins", "[S]\r\nk=1\r\n[S]\r\nk=3\r\nj=4\r\n", "S", "j", "d", "d"},
        {"first key wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "", "1"},
        {"double quotes stripped", "[S]\r\nk=\"abc\"\r\n", "S", "k", "", "abc"},
        {"single quotes stripped", "[S]\r\nk='abc'\r\n", "S", "k", "", "abc"},
        {"unbalanced quotes kept", "[S]\r\nk=\"abc'\r\n", "S", "k", "", "\"abc'"},
        {"inner quotes kept", "[S]\r\nk=\"a\"b\"\r\n", "S", "k", "", "a\"b"},
        {"lone quote kept", "[S]\r\nk=\"\r\n", "S", "k", "", "\""},
        {"empty quotes", "[S]\r\nk=\"\"\r\n", "S", "k", "", ""},
        {"default trailing blanks cut", "", "S", "k", " a ", " a"},
        {"default keeps its first byte", "", "S", "k", "   ", " "},
        {"default trailing tab kept", "", "S", "k", "a\t", "a\t"},
        {"default quotes stripped", "", "S", "k", "\"d\"", "d"},
        {"buffer 1", "[S]\r\nk=abc\r\n", "S", "k", "", "", 1},
        {"buffer 2", "[S]\r\nk=abc\r\n", "S", "k", "", "a", 2},
        {"umlaut names fold", "[\xc4rger]\r\nSchl\xfcssel=\xd6l\r\n", "\xe4RGER", "SCHL\xdcSSEL",
         "", "\xd6l"},
        {"sharp s is not SS",
         "[S]\r\nstra\xdf"
         "e=1\r\n",
         "S", "STRASSE", "d", "d"},
        {"sharp s matches itself in any case",
         "[S]\r\nstra\xdf"
         "e=1\r\n",
         "S",
         "STRA\xdf"
         "E",
         "d", "1"},
        {"umlaut default unchanged", "", "Config", "StandardLand4PLZ", "\xd6sterreich",
         "\xd6sterreich"},
        {"BOM on its own line harmless", "\xef\xbb\xbf\r\n[S]\r\nk=v\r\n", "S", "k", "", "v"},
        {"NUL ends the value", QByteArray("[S]\r\nk=a\0b\r\n", 12), "S", "k", "", "a"},
    };
    for (const ReadCase &c : cases) {
        writeBytes(path(), c.file);
        const QString got = ini(c.buffer).ReadData(cp(c.section), cp(c.key), cp(c.standard));
        EXPECT_EQ(visible(Cp1252::fromUnicode(got)), visible(c.expected)) << "case: " << c.name;
        EXPECT_EQ(visible(readBytes(path())), visible(c.file)) << "read changed file: " << c.name;
    }
}

TEST_F(IniTest, MissingFileOrFolderGivesDefaultAndCreatesNothing)
{
    EXPECT_EQ(ini().ReadData(QStringLiteral("Config"), QStringLiteral("CacheFelder"),
                             QStringLiteral("0")),
              QStringLiteral("0"));
    clsINI nowhere;
    nowhere.setFileName(folder.filePath(QStringLiteral("no/such/folder/x.ini")));
    EXPECT_EQ(nowhere.ReadData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("d")),
              QStringLiteral("d"));
    nowhere.WriteData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    nowhere.DeleteSection(QStringLiteral("S"));
    ini().DeleteSection(QStringLiteral("S"));
    EXPECT_TRUE(folderEntries(folder.path()).isEmpty());
    clsINI unnamed;
    EXPECT_EQ(unnamed.ReadData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("d")),
              QStringLiteral("d"));
    unnamed.WriteData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
}

TEST_F(IniTest, BufferCutCountsBytes)
{
    struct Cut
    {
        int length, buffer, expected;
    };
    const Cut cuts[] = {{255, 256, 255},    {256, 256, 255},    {300, 256, 255},
                        {8191, 256, 255},   {8192, 256, 255},   {9000, 256, 255},
                        {255, 8192, 255},   {256, 8192, 256},   {300, 8192, 300},
                        {8191, 8192, 8191}, {8192, 8192, 8191}, {9000, 8192, 8191}};
    for (const Cut &c : cuts) {
        // Umlauts count one byte each; the value starts with its own text so a
        // cut from the wrong end shows.
        QString value;
        for (int i = 0; i < c.length; ++i)
            value += (i % 3 == 0) ? QChar(u'\u00e4') : QChar(u'a' + i % 26);
        clsINI writer;
        writer.setFileName(path());
        writer.WriteData(QStringLiteral("S"), QStringLiteral("k"), value);
        const QString got = ini(c.buffer).ReadData(QStringLiteral("S"), QStringLiteral("k"), {});
        EXPECT_EQ(got, value.left(c.expected)) << "length " << c.length << " buffer " << c.buffer;
    }
    // Quoted: the content of 255 between quotes loses its last byte in a 256 buffer.
    const QString content(255, u'x');
    writeBytes(path(), "[S]\r\nk=\"" + QByteArray(255, 'x') + "\"\r\nl=\"" + QByteArray(300, 'y') +
                           "\"\r\n");
    EXPECT_EQ(ini(256).ReadData(QStringLiteral("S"), QStringLiteral("k"), {}).size(), 254);
    EXPECT_EQ(ini(256).ReadData(QStringLiteral("S"), QStringLiteral("l"), {}), QString(255, u'y'));
    EXPECT_EQ(ini(8192).ReadData(QStringLiteral("S"), QStringLiteral("k"), {}), content);
}

struct WriteCase
{
    const char *name;
    std::optional<QByteArray> before; // nullopt: no file
    std::function<void(clsINI &)> act;
    QByteArray after;
};

void write(clsINI &ini, const char *section, const char *key, const QByteArray &value)
{
    ini.WriteData(cp(section), cp(key), cp(value));
}

TEST_F(IniTest, WritesChangeOnlyTheirLine)
{
    const std::vector<WriteCase> cases = {
        {"missing file created", std::nullopt,
         [](clsINI &f) { write(f, "Config", "CacheFelder", "1"); },
         "[Config]\r\nCacheFelder=1\r\n"},
        {"empty file filled", QByteArray(), [](clsINI &f) { write(f, "Config", "K", "v"); },
         "[Config]\r\nK=v\r\n"},
        {"replace in place keeps file spelling", "[S]\r\n  key  =  old  \r\nx=1\n",
         [](clsINI &f) { write(f, "s", "KEY", "new"); }, "[S]\r\nkey=new\r\nx=1\n"},
        {"LF file stays LF except the new line", "[S]\na=1\n",
         [](clsINI &f) { write(f, "S", "b", "2"); }, "[S]\na=1\nb=2\r\n"},
        {"new key after last line of section", "[S]\r\na=1\r\n;c\r\n\r\n[T]\r\nb=2\r\n",
         [](clsINI &f) { write(f, "S", "n", "3"); },
         "[S]\r\na=1\r\n;c\r\nn=3\r\n\r\n[T]\r\nb=2\r\n"},
        {"new key under header without lines", "[S]\r\n[T]\r\n",
         [](clsINI &f) { write(f, "s", "n", "1"); }, "[S]\r\nn=1\r\n[T]\r\n"},
        {"new section at end after unterminated line", "[S]\r\na=1",
         [](clsINI &f) { write(f, "T", "b", "2"); }, "[S]\r\na=1\r\n[T]\r\nb=2\r\n"},
        {"new key in unterminated last section", "[S]\r\na=1",
         [](clsINI &f) { write(f, "S", "b", "2"); }, "[S]\r\na=1\r\nb=2\r\n"},
        {"empty value written", "[S]\r\nk=1\r\n", [](clsINI &f) { write(f, "S", "k", ""); },
         "[S]\r\nk=\r\n"},
        {"umlauts written as code-page bytes", std::nullopt,
         [](clsINI &f) {
             f.WriteData(QStringLiteral("Übersicht"), QStringLiteral("Schlüssel"),
                         QStringLiteral("Österreich ß"));
         },
         "[\xdc"
         "bersicht]\r\nSchl\xfcssel=\xd6sterreich \xdf\r\n"},
        {"missing characters become ?", std::nullopt,
         [](clsINI &f) {
             f.WriteData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("Ł€😀x"));
         },
         "[S]\r\nk=?\x80?x\r\n"},
        {"delete section and write it again", "[A]\r\na=1\r\n[B]\r\n;c\r\nb=2\r\n\r\n[C]\r\nc=3",
         [](clsINI &f) {
             f.DeleteSection(QStringLiteral("b"));
             write(f, "B", "x", "1");
         },
         "[A]\r\na=1\r\n[C]\r\nc=3\r\n[B]\r\nx=1\r\n"},
        {"delete missing section keeps odd layout", "a = 1\n\n[S]\r\n  k=v  ",
         [](clsINI &f) { f.DeleteSection(QStringLiteral("T")); }, "a = 1\n\n[S]\r\n  k=v  "},
        {"delete name not trimmed", "[B]\r\nb=1\r\n",
         [](clsINI &f) { f.DeleteSection(QStringLiteral(" B ")); }, "[B]\r\nb=1\r\n"},
        {"delete first of duplicates only", "[S]\r\na=1\r\n[S]\r\nb=2\r\n",
         [](clsINI &f) { f.DeleteSection(QStringLiteral("S")); }, "[S]\r\nb=2\r\n"},
        {"delete only section leaves empty file", "[S]\r\nk=1\r\n",
         [](clsINI &f) { f.DeleteSection(QStringLiteral("S")); }, ""},
        {"delete leading lines", "a=1\r\n[S]\r\nb=2\r\n",
         [](clsINI &f) { f.DeleteSection(QString()); }, "[S]\r\nb=2\r\n"},
        {"leading white space of value dropped", "[S]\r\nk=1\r\n",
         [](clsINI &f) { write(f, "S", "k", "   v"); }, "[S]\r\nk=v\r\n"},
        {"trailing blanks of value written", "[S]\r\n",
         [](clsINI &f) { write(f, "S", "k", "v  "); }, "[S]\r\nk=v  \r\n"},
        {"quotes written as given", "[S]\r\n", [](clsINI &f) { write(f, "S", "k", "\"q\""); },
         "[S]\r\nk=\"q\"\r\n"},
        {"new names lose leading blanks only", std::nullopt,
         [](clsINI &f) { write(f, "  N  ", "  n  ", "3"); }, "[N  ]\r\nn  =3\r\n"},
        {"new key keeps header spelling", "[Config]\r\n",
         [](clsINI &f) { write(f, "CONFIG", "Neu", "1"); }, "[Config]\r\nNeu=1\r\n"},
        {"blanks around = go on replace", "[S]\r\nk = 1\r\n",
         [](clsINI &f) { write(f, "S", "k", "2"); }, "[S]\r\nk=2\r\n"},
        {"key without value gets one", "[S]\r\nflag\r\n",
         [](clsINI &f) { write(f, "S", "flag", "1"); }, "[S]\r\nflag=1\r\n"},
        {"leading lines stay on top", "a=1\r\n[S]\r\nb=2\r\n",
         [](clsINI &f) { write(f, "", "c", "3"); }, "a=1\r\nc=3\r\n[S]\r\nb=2\r\n"},
        {"first of duplicate sections written", "[S]\r\nk=1\r\n[S]\r\nk=2\r\n",
         [](clsINI &f) {
             write(f, "S", "k", "9");
             write(f, "S", "n", "1");
         },
         "[S]\r\nk=9\r\nn=1\r\n[S]\r\nk=2\r\n"},
        {"key name with = appends each time", "[S]\r\n",
         [](clsINI &f) {
             write(f, "S", "a=b", "c");
             write(f, "S", "a=b", "c");
         },
         "[S]\r\na=b=c\r\na=b=c\r\n"},
        {"line breaks in value become blanks", "[S]\r\n",
         [](clsINI &f) { write(f, "S", "k", "a\r\nb=c"); }, "[S]\r\nk=a  b=c\r\n"},
        {"line breaks in names become blanks", std::nullopt,
         [](clsINI &f) { write(f, "X\n[Y", "k\r\nz", "1"); }, "[X [Y]\r\nk  z=1\r\n"},
        {"control characters become blanks", "[S]\r\n",
         [](clsINI &f) { write(f, "S", "k", QByteArray("a\0b\x1b\x7f", 5)); },
         "[S]\r\nk=a b  \r\n"},
        {"all high bytes round-trip", std::nullopt,
         [](clsINI &f) {
             QByteArray high;
             for (int b = 0x80; b <= 0xFF; ++b)
                 high.append(char(b));
             f.WriteData(QStringLiteral("S"), cp(high), cp(high));
         },
         [] {
             QByteArray high;
             for (int b = 0x80; b <= 0xFF; ++b)
                 high.append(char(b));
             return "[S]\r\n" + high + "=" + high + "\r\n";
         }()},
    };
    for (const WriteCase &c : cases) {
        QFile::remove(path());
        if (c.before)
            writeBytes(path(), *c.before);
        clsINI file = ini();
        c.act(file);
        EXPECT_EQ(visible(readBytes(path())), visible(c.after)) << "case: " << c.name;
        EXPECT_EQ(folderEntries(folder.path()).size(), c.before || !c.after.isEmpty() ? 1 : 0)
            << "stray files: " << c.name;
    }
}

struct EncodingCase
{
    const char *name;
    std::optional<QByteArray> before; // nullopt: no file
    QString section, key, standard, expected;
    int buffer;
    QString newKey, newValue; // written into section
    QByteArray after;
};

TEST_F(IniTest, FilesKeepTheEncodingTheyWereReadIn)
{
    const QString oe = u"Österreich"_s;
    const std::vector<EncodingCase> cases = {
        {"UTF-8 read and written as UTF-8",
         "[Definitionen]\r\nID1=25\r\nWert1=B\xc3\xbcrozeiten:\n[Config]\r\n"
         "StandardLand5PLZ=Sch\xc3\xb6neland\r\n",
         u"Config"_s, u"StandardLand5PLZ"_s, u"Deutschland"_s, u"Schöneland"_s, 8192,
         u"StandardLand4PLZ"_s, oe,
         "[Definitionen]\r\nID1=25\r\nWert1=B\xc3\xbcrozeiten:\n[Config]\r\n"
         "StandardLand5PLZ=Sch\xc3\xb6neland\r\nStandardLand4PLZ=\xc3\x96sterreich\r\n"},
        {"UTF-8 mark kept and first section found", "\xef\xbb\xbf[Config]\r\nCacheFelder=1\r\n",
         u"config"_s, u"CacheFelder"_s, u"0"_s, u"1"_s, 8192, u"StandardLand4PLZ"_s, oe,
         "\xef\xbb\xbf[Config]\r\nCacheFelder=1\r\nStandardLand4PLZ=\xc3\x96sterreich\r\n"},
        {"UTF-8 names fold beyond ASCII",
         "[B\xc3\xbcro]\r\n\xc3\x84nderung=ja\r\n",
         u"BÜRO"_s,
         u"änderung"_s,
         {},
         u"ja"_s,
         8192,
         u"ÄNDERUNG"_s,
         u"nein"_s,
         "[B\xc3\xbcro]\r\n\xc3\x84nderung=nein\r\n"},
        {"UTF-8 cut before a split character",
         "[S]\r\nk=a\xc3\xa4\r\n",
         u"S"_s,
         u"k"_s,
         {},
         u"a"_s,
         3,
         QString(),
         QString(),
         "[S]\r\nk=a\xc3\xa4\r\n"},
        {"Windows-1252 stays Windows-1252",
         "[Config]\r\nStandardLand5PLZ=Sch\xf6neland\r\n",
         u"Config"_s,
         u"StandardLand5PLZ"_s,
         {},
         u"Schöneland"_s,
         8192,
         u"StandardLand4PLZ"_s,
         oe,
         "[Config]\r\nStandardLand5PLZ=Sch\xf6neland\r\nStandardLand4PLZ=\xd6sterreich\r\n"},
        {"ASCII file takes Windows-1252", "[Config]\r\nCacheFelder=1\r\n", u"Config"_s,
         u"CacheFelder"_s, u"0"_s, u"1"_s, 8192, u"StandardLand4PLZ"_s, oe,
         "[Config]\r\nCacheFelder=1\r\nStandardLand4PLZ=\xd6sterreich\r\n"},
        {"new file is Windows-1252", std::nullopt, u"Config"_s, u"StandardLand4PLZ"_s, oe, oe, 8192,
         u"StandardLand4PLZ"_s, oe, "[Config]\r\nStandardLand4PLZ=\xd6sterreich\r\n"},
    };
    for (const EncodingCase &c : cases) {
        QFile::remove(path());
        if (c.before)
            writeBytes(path(), *c.before);
        clsINI file = ini(c.buffer);
        EXPECT_EQ(file.ReadData(c.section, c.key, c.standard), c.expected) << "case: " << c.name;
        if (!c.newKey.isEmpty())
            file.WriteData(c.section, c.newKey, c.newValue);
        EXPECT_EQ(visible(readBytes(path())), visible(c.after)) << "case: " << c.name;
        if (!c.newKey.isEmpty()) {
            EXPECT_EQ(ini().ReadData(c.section, c.newKey, {}), c.newValue) << "case: " << c.name;
        }
    }
}

TEST_F(IniTest, NothingToDoLeavesTheFileUntouched)
{
    writeBytes(path(), "[S]\r\n  k = v \r\n");
    const ino_t before = inodeOf(path());
    clsINI file = ini();
    file.WriteData(QStringLiteral("s"), QStringLiteral(" K"), QStringLiteral("v"));
    file.DeleteSection(QStringLiteral("T"));
    EXPECT_EQ(inodeOf(path()), before);
    EXPECT_EQ(readBytes(path()), QByteArray("[S]\r\n  k = v \r\n"));
}

TEST_F(IniTest, ReplacementIsAtomicAndKeepsPermissions)
{
    writeBytes(path(), "[S]\r\nk=old\r\n");
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QFile reader(path());
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    ini().WriteData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("new"));
    // A reader that opened the file before still sees the whole old version.
    EXPECT_EQ(reader.readAll(), QByteArray("[S]\r\nk=old\r\n"));
    EXPECT_EQ(readBytes(path()), QByteArray("[S]\r\nk=new\r\n"));
    EXPECT_EQ(QFile::permissions(path()), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(folderEntries(folder.path()), QStringList{QStringLiteral("test.ini")});
}

TEST_F(IniTest, ReplacementKeepsOwnerGroupModeAndLink)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can hand a file to another owner";
    const QByteArray target = QFile::encodeName(path());
    writeBytes(path(), "[S]\r\nk=old\r\n");
    ASSERT_EQ(::chown(target.constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(target.constData(), 02664), 0);
    const QString link = folder.filePath(QStringLiteral("link.ini"));
    ASSERT_TRUE(QFile::link(path(), link));
    clsINI file;
    file.setFileName(link);
    file.WriteData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readBytes(path()), QByteArray("[S]\r\nk=new\r\n"));
    struct stat st
    {};
    ASSERT_EQ(::stat(target.constData(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 02664u);
}

TEST_F(IniTest, WriteRemovesOnlyStaleTemporaryFilesOfItsOwn)
{
    const QDateTime old = QDateTime::currentDateTime().addSecs(-120);
    const auto make = [&](const char *name, const QDateTime &modified) {
        const QString file = folder.filePath(QString::fromLatin1(name));
        writeBytes(file, "x");
        QFile handle(file);
        handle.open(QIODevice::ReadWrite);
        handle.setFileTime(modified, QFileDevice::FileModificationTime);
    };
    make("test.ini.aB3xYz", old);                          // left by a killed write: goes
    make("test.ini.Fresh1", QDateTime::currentDateTime()); // may be a write in flight
    make("test.ini.aB3xY", old);
    make("test.ini.aB3xYz1", old);
    make("test.ini.aB3-Yz", old);
    make("other.ini.aB3xYz", old);
    make("target", old);
    QFile::link(folder.filePath(QStringLiteral("target")),
                folder.filePath(QStringLiteral("test.ini.Link12")));
    ini().WriteData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(folderEntries(folder.path()),
              QStringList({u"other.ini.aB3xYz"_s, u"target"_s, u"test.ini"_s, u"test.ini.Fresh1"_s,
                           u"test.ini.Link12"_s, u"test.ini.aB3-Yz"_s, u"test.ini.aB3xY"_s,
                           u"test.ini.aB3xYz1"_s}));
}

TEST_F(IniTest, RefusedWritesChangeNothingAndLeaveNoTemporaryFile)
{
    const QByteArray content = "[S]\r\nk=1\r\n";
    struct Refusal
    {
        const char *name;
        QFile::Permissions file, folder;
    };
    const QFile::Permissions rw = QFile::ReadOwner | QFile::WriteOwner;
    const QFile::Permissions rwx = rw | QFile::ExeOwner;
    const Refusal refusals[] = {
        {"read-only file", QFile::ReadOwner, rwx},
        {"read-only folder", rw, QFile::ReadOwner | QFile::ExeOwner},
    };
    for (const Refusal &r : refusals) {
        writeBytes(path(), content);
        QFile::setPermissions(path(), r.file);
        QFile::setPermissions(folder.path(), r.folder);
        clsINI file = ini();
        file.WriteData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("2"));
        file.WriteData(QStringLiteral("T"), QStringLiteral("k"), QStringLiteral("2"));
        file.DeleteSection(QStringLiteral("S"));
        EXPECT_EQ(file.ReadData(QStringLiteral("S"), QStringLiteral("k"), {}), QStringLiteral("1"))
            << r.name;
        QFile::setPermissions(folder.path(), rwx);
        QFile::setPermissions(path(), rw);
        EXPECT_EQ(readBytes(path()), content) << r.name;
        EXPECT_EQ(folderEntries(folder.path()), QStringList{QStringLiteral("test.ini")}) << r.name;
    }
}

TEST_F(IniTest, EveryCallSeesChangesByOtherWriters)
{
    clsINI first = ini();
    clsINI second = ini();
    writeBytes(path(), "[S]\r\nk=1\r\n");
    EXPECT_EQ(first.ReadData(QStringLiteral("S"), QStringLiteral("k"), {}), QStringLiteral("1"));
    // Same size, same inode, within the same clock tick.
    writeBytes(path(), "[S]\r\nk=2\r\n");
    EXPECT_EQ(first.ReadData(QStringLiteral("S"), QStringLiteral("k"), {}), QStringLiteral("2"));
    second.WriteData(QStringLiteral("S"), QStringLiteral("j"), QStringLiteral("3"));
    EXPECT_EQ(first.ReadData(QStringLiteral("S"), QStringLiteral("j"), {}), QStringLiteral("3"));
    writeBytes(path(), "[S]\r\nk=4\r\nj=3\r\n");
    first.WriteData(QStringLiteral("S"), QStringLiteral("x"), QStringLiteral("5"));
    EXPECT_EQ(readBytes(path()), QByteArray("[S]\r\nk=4\r\nj=3\r\nx=5\r\n"));
    QFile::remove(path());
    EXPECT_EQ(second.ReadData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("d")),
              QStringLiteral("d"));
}

TEST_F(IniTest, ManyKeysStillFoundFirstMatchFirst)
{
    QByteArray content = "[Felder]\r\n";
    for (int i = 1; i <= 5000; ++i)
        content += "Zeile" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
    content += "zeile5000=second\r\n";
    writeBytes(path(), content);
    clsINI file = ini();
    EXPECT_EQ(file.ReadData(QStringLiteral("felder"), QStringLiteral("Zeile5000"), {}),
              QStringLiteral("5000"));
    EXPECT_EQ(file.ReadData(QStringLiteral("Felder"), QStringLiteral("Zeile1"), {}),
              QStringLiteral("1"));
}

TEST_F(IniTest, OversizedFileReadsAsEmptyAndIsNeverWritten)
{
    writeBytes(path(), "[S]\r\nk=v\r\n");
    QFile file(path());
    ASSERT_TRUE(file.resize(65 * 1024 * 1024)); // sparse: cheap to make
    clsINI big = ini();
    EXPECT_EQ(big.ReadData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("d")),
              QStringLiteral("d"));
    big.WriteData(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("w"));
    big.DeleteSection(QStringLiteral("S"));
    EXPECT_EQ(QFileInfo(path()).size(), 65 * 1024 * 1024);
    EXPECT_TRUE(readBytes(path()).startsWith("[S]\r\nk=v\r\n"));
}

TEST_F(IniTest, HiddenFileIsReadableButNotAvailable)
{
    clsINI hidden;
    hidden.setFileName(folder.filePath(QStringLiteral(".hidden.ini")));
    writeBytes(hidden.FileName(), "[S]\r\nk=v\r\n");
    EXPECT_FALSE(hidden.FileAvailable());
    EXPECT_EQ(hidden.ReadData(QStringLiteral("S"), QStringLiteral("k"), {}), QStringLiteral("v"));
}

} // namespace
