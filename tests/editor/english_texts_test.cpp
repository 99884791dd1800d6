// The editor in English: the choice of the language and its memory, the
// forms and the explanations in English, and the translation file kept
// complete against the texts of the code.
#include "editor_language.h"
#include "editor_paths.h"
#include "editor_settings.h"
#include "explanations.h"
#include "support/editor_forms.h"
#include "support/fixture_files.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace {

namespace fs = std::filesystem;

// ---- Choosing the language ----

TEST(EditorLanguage, TheCommandLineChoosesAndTheRememberedChoiceHoldsOtherwise) {
    const struct {
        const char* label;
        QStringList arguments;
        const char* remembered;
        const char* language;
        bool chosenNow;
        const char* problemNames; // a text the message must hold; nullptr: no message
    } cases[] = {
        {"nothing chosen ever", {}, "", "ja", false, nullptr},
        {"remembered", {}, "en", "en", false, nullptr},
        {"chosen", {"--lang", "en"}, "", "en", true, nullptr},
        {"chosen over the remembered", {"--lang=ja"}, "en", "ja", true, nullptr},
        {"in capitals", {"--lang", "EN"}, "", "en", true, nullptr},
        {"among other arguments", {"-x", "--lang", "en", "file.vtg"}, "", "en", true, nullptr},
        {"the last counts", {"--lang", "en", "--lang", "ja"}, "", "ja", true, nullptr},
        {"unknown", {"--lang", "fr"}, "", "ja", false, "\"fr\""},
        {"unknown keeps the remembered", {"--lang=xx"}, "en", "en", false, "\"xx\""},
        {"no value", {"--lang"}, "en", "en", false, "needs a language"},
        {"a good one and a bad one", {"--lang", "en", "--lang", "de"}, "", "en", true, "\"de\""},
        {"a remembered value edited by hand", {}, "../../x", "ja", false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const LanguageChoice choice = chooseLanguage(c.arguments, c.remembered);
        EXPECT_EQ(choice.language, c.language);
        EXPECT_EQ(choice.chosenNow, c.chosenNow);
        if (c.problemNames) {
            EXPECT_TRUE(choice.problem.contains(c.problemNames)) << choice.problem.toStdString();
            EXPECT_TRUE(choice.problem.contains("en or ja")) << "the message says what is known";
        } else {
            EXPECT_TRUE(choice.problem.isEmpty()) << choice.problem.toStdString();
        }
    }
}

// XDG_CONFIG_HOME for one test.
class ConfigHome {
  public:
    explicit ConfigHome(const fs::path& home) {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) old_ = old;
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    }
    ~ConfigHome() {
        if (old_)
            setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }

  private:
    std::optional<std::string> old_;
};

TEST(EditorLanguage, TheChoiceIsRememberedBesideThePortableEditorOrInTheConfigFolder) {
    EditorFolder folder;
    const fs::path home = makeTempFolder("editor-config");
    const ConfigHome config(home);
    EditorFolders installed;
    installed.portable = false;
    installed.editor = folder.gamePath("editor");
    installed.game = folder.gamePath("");
    installed.stages = folder.gamePath("stage");

    const struct {
        const char* label;
        std::optional<EditorFolders> folders; // none: the fixture's portable folder
        QString settings;
    } cases[] = {
        {"portable", std::nullopt, folder.gamePath("editor/VeltaEdit.ini")},
        {"installed", installed, QString::fromStdString((home / "velta/VeltaEdit.ini").string())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.folders) setEditorFolders(*c.folders);
        ASSERT_EQ(editorSettingsPath(), c.settings);
        EXPECT_EQ(rememberedLanguage(), "") << "nothing chosen yet";
        for (const char* language : {"en", "ja"}) {
            QString problem;
            EXPECT_TRUE(rememberLanguage(language, problem)) << problem.toStdString();
            EXPECT_EQ(rememberedLanguage(), language);
            EXPECT_EQ(chooseLanguage({}, rememberedLanguage()).language, language)
                << "the next start";
        }
        EXPECT_TRUE(QFile::exists(c.settings));
    }
    setEditorFolder(folder.gamePath("editor"));
}

TEST(EditorLanguage, ASettingsFileThatCannotBeWrittenIsReported) {
    EditorFolder folder;
    const fs::path home = makeTempFolder("editor-config");
    writeTextFile(home / "velta", "a file where the folder would be");
    const ConfigHome config(home);
    EditorFolders installed;
    installed.portable = false;
    installed.editor = folder.gamePath("editor");
    installed.game = folder.gamePath("");
    setEditorFolders(installed);
    QString problem;
    EXPECT_FALSE(rememberLanguage("en", problem));
    EXPECT_TRUE(problem.contains(QString::fromStdString((home / "velta").string())))
        << problem.toStdString();
    EXPECT_EQ(rememberedLanguage(), "");
    setEditorFolder(folder.gamePath("editor"));
}

// ---- The forms in English ----

QStringList menuTexts(const QMenuBar* bar) {
    QStringList texts;
    for (const QAction* menu : bar->actions()) {
        texts << menu->text();
        if (!menu->menu()) continue;
        for (const QAction* item : menu->menu()->actions())
            if (!item->isSeparator()) texts << "  " + item->text();
    }
    return texts;
}

template <typename Widget> QStringList textsOf(const QWidget* form) {
    QStringList texts;
    for (const Widget* widget : form->findChildren<Widget*>())
        texts << widget->text();
    return texts;
}

class EnglishForms : public EditorForms {
  protected:
    EnglishForms() {
        QString problem;
        EXPECT_TRUE(useLanguage("en", problem)) << problem.toStdString();
        remakeForms();
    }
    ~EnglishForms() override {
        QString problem;
        useLanguage("ja", problem);
    }
};

TEST_F(EnglishForms, TheMainWindowSpeaksEnglish) {
    EXPECT_EQ(main->windowTitle(), "VeltaEdit for Tarvelon - Untitled");
    const QStringList menus = menuTexts(main->menuBar());
    EXPECT_EQ(menus, QStringList({"&File",
                                  "  &New",
                                  "  &Open...",
                                  "  &Save",
                                  "  Save &As...",
                                  "  E&xit",
                                  "&Edit",
                                  "  &Undo",
                                  "  &Redo",
                                  "&Stage",
                                  "  &Properties...",
                                  "  &Clear Stage",
                                  "  &Test Play",
                                  "&View",
                                  "  Zoom &1x",
                                  "  Zoom &2x",
                                  "  Zoom &3x",
                                  "  &Objects",
                                  "  &Frames of Unseen Objects",
                                  "&Help",
                                  "  VeltaEdit &Help...",
                                  "  &About VeltaEdit"}));
    EXPECT_TRUE(textsOf<QLabel>(main.get()).contains("Stage:"));
    EXPECT_EQ(main->slotList()->toolTip(),
              "Chooses the stage to edit. A \"*\" marks a stage that holds something.");
    main->imgCanvasMouseMove({40, 20}, Qt::NoButton, Qt::NoModifier);
    EXPECT_TRUE(main->statusText().startsWith("View x=0   Cursor (32, 16)"))
        << main->statusText().toStdString();

    // A message box in English too.
    main->show();
    chooseObjectKind(0);
    click({16, 16});
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "That object cannot be placed.");
    EXPECT_EQ(dialogs.boxes[0].caption, "Warning");
}

TEST_F(EnglishForms, TheOtherFormsSpeakEnglish) {
    EXPECT_EQ(selector->windowTitle(), "Objects");
    EXPECT_EQ(textsOf<QRadioButton>(selector.get()),
              QStringList({"Map object", "Enemy", "Eraser"}));
    EXPECT_EQ(properties->windowTitle(), "Properties");
    const QStringList labels = textsOf<QLabel>(properties.get());
    for (const char* label :
         {"Music:", "Sky:", "Stage:", "Level:", "Lives:", "Cleared:", "Author:", "Note:"})
        EXPECT_TRUE(labels.contains(label)) << label << " in " << labels.join(", ").toStdString();
    EXPECT_TRUE(textsOf<QPushButton>(properties.get()).contains("&Close"));
    EXPECT_EQ(about->windowTitle(), "About VeltaEdit");
}

TEST_F(EditorForms, JapaneseComesBackAndAMissingTranslationLeavesIt) {
    const QString translation = folder.gamePath("editor/VeltaEdit_en.qm");
    const struct {
        const char* label;
        const char* language;
        bool removed;
        bool loads;
        const char* fileMenu;
    } cases[] = {
        {"English", "en", false, true, "&File"},
        {"Japanese again", "ja", false, true, "ﾌｧｲﾙ(&F)"},
        {"English without its file", "en", true, false, "ﾌｧｲﾙ(&F)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.removed) QFile::remove(translation);
        QString problem;
        EXPECT_EQ(useLanguage(c.language, problem), c.loads);
        EXPECT_EQ(problem.contains(translation), !c.loads) << problem.toStdString();
        remakeForms();
        EXPECT_EQ(main->menuBar()->actions().front()->text(), c.fileMenu);
    }
    QString problem;
    useLanguage("ja", problem);
}

// ---- The explanations ----

TEST_F(EditorForms, EnglishExplanationsComeFromTheirOwnFileKindByKind) {
    writeBytes(folder.gamePath("editor/exp.dat"),
               "[MAPCHIP]\r\n1=\x92\x6e\x96\xca\r\n2=\x83\x67\x83\x51\r\n"); // 地面, トゲ
    const QString english = folder.gamePath("editor/exp_en.dat");
    const struct {
        const char* label;
        const char* language;
        const char* englishFile; // nullptr: none
        int kind;
        QString shown;
    } cases[] = {
        {"Japanese", "ja", "[MAPCHIP]\r\n1=Ground\r\n", 1, "1:地面"},
        {"English", "en", "[MAPCHIP]\r\n1=Ground\r\n", 1, "1:Ground"},
        {"a kind the English file lacks", "en", "[MAPCHIP]\r\n1=Ground\r\n", 2, "2:トゲ"},
        {"no English file", "en", nullptr, 1, "1:地面"},
        {"a kind neither has", "en", "[MAPCHIP]\r\n1=Ground\r\n", 3, "3:(No comment)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        QFile::remove(english);
        if (c.englishFile) writeBytes(english, c.englishFile);
        setExplanationLanguage(c.language);
        EXPECT_EQ(objectExplanation(c.kind), c.shown);
    }
    setExplanationLanguage("ja");
}

// ---- The translation file against the code ----

struct Message {
    QString translation;
    bool finished = false;
};
using Messages = std::map<std::pair<QString, QString>, Message>; // by context and source

// A Qt translation file; "<byte value="xd"/>" stands for a control character.
Messages readTranslations(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    Messages messages;
    QString context, source;
    Message message;
    QString* text = nullptr;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (xml.name() == u"name") {
                context = xml.readElementText();
            } else if (xml.name() == u"message") {
                source.clear();
                message = {};
            } else if (xml.name() == u"source") {
                text = &source;
            } else if (xml.name() == u"translation") {
                text = &message.translation;
                const auto type = xml.attributes().value("type");
                message.finished = type.isEmpty();
            } else if (xml.name() == u"byte" && text) {
                *text += QChar(xml.attributes().value("value").mid(1).toInt(nullptr, 16));
            }
            break;
        case QXmlStreamReader::Characters:
            if (text) *text += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            if (xml.name() == u"source" || xml.name() == u"translation") text = nullptr;
            if (xml.name() == u"message") messages[{context, source}] = message;
            break;
        default:
            break;
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

// The source texts of the editor's code, as lupdate finds them.
Messages scanSources() {
    const fs::path scratch = makeTempFolder("editor-texts");
    const QString scanned = QString::fromStdString((scratch / "scan.ts").string());
    QProcess lupdate;
    lupdate.start(VELTA_LUPDATE,
                  {"-locations", "none", "-source-language", "ja", "-target-language", "en",
                   VELTA_SOURCE_DIR "/editor", "-ts", scanned});
    EXPECT_TRUE(lupdate.waitForFinished(60000));
    EXPECT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    return readTranslations(scanned);
}

std::set<QString> placeholders(const QString& text) {
    std::set<QString> found;
    static const QRegularExpression marker("%[1-9]");
    for (const auto& match : marker.globalMatch(text))
        found.insert(match.captured());
    return found;
}

QString named(const std::pair<QString, QString>& key) {
    return key.first + ": " + key.second;
}

TEST(EnglishTranslation, HoldsEverySourceTextOfTheCodeTranslatedAndNoOther) {
    const Messages code = scanSources();
    const Messages kept = readTranslations(VELTA_SOURCE_DIR "/editor/translations/VeltaEdit_en.ts");
    ASSERT_GT(code.size(), 50u) << "lupdate found the editor's texts";
    for (const auto& [key, message] : code)
        EXPECT_TRUE(kept.count(key)) << "not in the translation file: " << named(key).toStdString();
    for (const auto& [key, message] : kept) {
        EXPECT_TRUE(code.count(key)) << "no longer in the code: " << named(key).toStdString();
        EXPECT_TRUE(message.finished && !message.translation.isEmpty())
            << "not translated: " << named(key).toStdString();
        // A lost or added %1 would show the wrong value, or none.
        EXPECT_EQ(placeholders(message.translation), placeholders(key.second))
            << named(key).toStdString();
    }
}

// A Japanese text written without tr() is one lupdate cannot see: every
// piece of a string with more than ASCII in the editor's code must be found
// in a source text of the translation.
TEST(EnglishTranslation, NoJapaneseTextOfTheCodeIsLeftOutOfIt) {
    const Messages code = scanSources();
    static const QRegularExpression literal(R"re("((?:[^"\\\n]|\\.)*)")re");
    static const QRegularExpression comment("//.*$");
    int pieces = 0;
    for (const auto& entry : fs::recursive_directory_iterator(VELTA_SOURCE_DIR "/editor")) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".cpp" && extension != ".h") continue;
        QFile file(QString::fromStdString(entry.path().string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
        int lineNumber = 0;
        while (!file.atEnd()) {
            ++lineNumber;
            const QString line = QString::fromUtf8(file.readLine()).remove(comment);
            for (const auto& match : literal.globalMatch(line)) {
                QString piece = match.captured(1);
                if (std::all_of(piece.begin(), piece.end(),
                                [](QChar c) { return c.unicode() < 128; }))
                    continue;
                piece.replace("\\\"", "\"").replace("\\n", "\n").replace("\\r", "\r");
                ++pieces;
                const bool translated = std::any_of(code.begin(), code.end(), [&](const auto& m) {
                    return m.first.second.contains(piece);
                });
                EXPECT_TRUE(translated)
                    << entry.path().string() << ":" << lineNumber << ": " << piece.toStdString();
            }
        }
    }
    EXPECT_GT(pieces, 50) << "the editor's Japanese texts were found";
}

} // namespace
