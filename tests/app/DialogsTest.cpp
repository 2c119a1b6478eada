// The separator dialog on its own: what a mark chooses and previews.

#include "AppTestSupport.h"
#include "common/CaseFile.h"

#include "app/SeparatorDialog.h"
#include "support/MessageTexts.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class SeparatorDialogTest : public AppTest
{
protected:
    void open(const QString &text) { m_dialog = std::make_unique<SeparatorDialog>(nullptr, text); }
    QPlainTextEdit *box() { return m_dialog->findChild<QPlainTextEdit *>(u"txtClipText"_s); }
    QLineEdit *separator() { return m_dialog->findChild<QLineEdit *>(u"txtTrenner"_s); }
    void click(const char *b) { m_dialog->findChild<QPushButton *>(QLatin1String(b))->click(); }
    std::unique_ptr<SeparatorDialog> m_dialog;
};

// Marking takes the first character and previews the split.
using SeparatorMarks = CaseFileTest<SeparatorDialogTest>;

TEST_P(SeparatorMarks, Mark)
{
    const DataCase &c = GetParam();
    const auto text = [&c](const char *command) {
        return QString::fromUtf8(Unescape(c.value(QLatin1String(command))));
    };
    const QStringList mark = c.value(u"mark"_s).split(u' ');
    open(text("captured"));
    MarkText(box(), mark[0].toInt(), mark[1].toInt());
    click("cmdTrennerNeu");
    EXPECT_EQ(separator()->text(), text("shown"));
    // Qt's editor holds line feeds; compare line by line
    EXPECT_EQ(box()->toPlainText(), text("preview").replace(u"\r\n"_s, u"\n"_s));
    click("cmdWeiter");
    EXPECT_EQ(m_dialog->UserSeparator(), text("separator"));
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(m_presenter.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(File, SeparatorMarks, CasesOf(ORDALIS_TEST_DATA "/separator-marks.txt"),
                         CaseTestName);

TEST_F(SeparatorDialogTest, NoMarkAsksForOneMarkingAgainTakesFromThePreviewDiscardRestores)
{
    open(u"Name; Straße, Ort"_s);
    separator()->setText(u"#"_s);
    click("cmdTrennerNeu");
    EXPECT_EQ(m_presenter.Texts(), QStringList{MessageText::MarkOneCharacter});
    EXPECT_EQ(separator()->text(), u"#"_s);

    MarkText(box(), 4);
    click("cmdTrennerNeu");
    // preview "Name\nStraße, Ort\n": the comma now sits at 11
    MarkText(box(), 11);
    click("cmdTrennerNeu");
    EXPECT_EQ(separator()->text(), u","_s);
    EXPECT_EQ(box()->toPlainText(), u"Name; Straße\nOrt\n"_s);

    click("cmdTrennerVerwerfen");
    EXPECT_EQ(box()->toPlainText(), u"Name; Straße, Ort"_s);
    EXPECT_TRUE(separator()->text().isEmpty());
    click("cmdWeiter");
    EXPECT_TRUE(m_dialog->UserSeparator().isEmpty());

    // Enter in "Trennzeichen" takes what was typed there.
    open(u"Name# Ort"_s);
    m_dialog->show();
    separator()->setFocus();
    QTest::keyClicks(separator(), u"#"_s);
    QTest::keyClick(separator(), Qt::Key_Return);
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_EQ(m_dialog->UserSeparator(), u"#"_s);
}

} // namespace
