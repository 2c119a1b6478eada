#include "ImprovedRules.h"

#include "TextOps.h"

#include <array>
#include <vector>

namespace {

using At = CueAt;

inline bool isWordChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
    return c.isLetterOrNumber();
}

bool same(QStringView a, QStringView b)
{
    return StandardView(a) == StandardView(b);
}

bool endsWord(QStringView s, qsizetype end)
{
    return end >= s.size() || !isWordChar(s[end]);
}

// The line without outer blanks and a trailing colon.
QStringView core(QStringView s)
{
    s = s.trimmed();
    while (s.endsWith(u':') || s.endsWith(u'.'))
        s.chop(1);
    return s.trimmed();
}

const Cue Greetings[] = {
    {u"mit freundlich", At::Start},
    {u"mit besten", At::Start},
    {u"mit herzlich", At::Start},
    {u"mit vielen", At::Start},
    {u"mit lieben", At::Start},
    {u"mit kollegial", At::Start},
    {u"freundliche gr", At::Start},
    {u"viele gr", At::Start},
    {u"beste gr", At::Start},
    {u"liebe gr", At::Start},
    {u"herzliche gr", At::Start},
    {u"schöne gr", At::Start},
    {u"sonnige gr", At::Start},
    {u"gruß", At::Start},
    {u"gruss", At::Start},
    {u"grüße", At::Start},
    {u"grüsse", At::Start},
    {u"herzlichst", At::Start},
    {u"hochachtungsvoll", At::Start},
    {u"best regards", At::Start},
    {u"kind regards", At::Start},
    {u"warm regards", At::Start},
    {u"regards", At::Start},
    {u"best wishes", At::Start},
    {u"sincerely", At::Start},
    {u"yours sincerely", At::Start},
    {u"cheers", At::Start},
    {u"mfg", At::Whole},
    {u"lg", At::Whole},
    {u"vg", At::Whole},
    {u"bg", At::Whole},
    {u"servus", At::Whole},
};

const Cue Headings[] = {
    {u"impressum", At::Whole},
    {u"imprint", At::Whole},
    {u"legal notice", At::Whole},
    {u"kontakt", At::Whole},
    {u"kontaktdaten", At::Whole},
    {u"kontaktadresse", At::Whole},
    {u"kontaktinformationen", At::Whole},
    {u"contact", At::Whole},
    {u"anschrift", At::Whole},
    {u"adresse", At::Whole},
    {u"postanschrift", At::Whole},
    {u"address", At::Whole},
    {u"anbieter", At::Whole},
    {u"anbieterkennzeichnung", At::Whole},
    {u"angaben zum unternehmen", At::Whole},
    {u"unternehmensdaten", At::Whole},
    {u"diensteanbieter", At::Whole},
    {u"herausgeber", At::Whole},
    {u"registereintrag", At::Whole},
    {u"firma", At::Whole},
    {u"unternehmen", At::Whole},
    {u"unternehmensangaben", At::Whole},
    {u"angaben", At::Whole},
    {u"haftungsausschluss", At::Whole},
    {u"disclaimer", At::Whole},
    {u"streitschlichtung", At::Whole},
    {u"urheberrecht", At::Whole},
    {u"bildnachweis", At::Whole},
    {u"bildquellen", At::Whole},
    {u"absender", At::Whole},
    {u"empfänger", At::Whole},
    {u"§", At::Anywhere},
    {u"angaben gem", At::Start},
    {u"informationen gem", At::Start},
    {u"information gem", At::Start},
    {u"informationen und offenlegung", At::Start},
    {u"offenlegung", At::Start},
    {u"verantwortlich", At::Start},
    {u"inhaltlich verantwortlich", At::Start},
};

const Cue LegalLines[] = {
    {u"registergericht", At::WordStart},
    {u"registernummer", At::WordStart},
    {u"register", At::Word},
    {u"handelsregister", At::WordStart},
    {u"vereinsregister", At::WordStart},
    {u"partnerschaftsregister", At::WordStart},
    {u"amtsgericht", At::WordStart},
    {u"landesgericht", At::WordStart},
    {u"handelsgericht", At::WordStart},
    {u"firmenbuch", At::WordStart},
    {u"steuernummer", At::WordStart},
    {u"steuer-nr", At::WordStart},
    {u"steuernr", At::WordStart},
    {u"st.-nr", At::WordStart},
    {u"st.nr", At::WordStart},
    {u"st-nr", At::WordStart},
    {u"ust", At::Word},
    {u"ust-id", At::WordStart},
    {u"ust.-id", At::WordStart},
    {u"ust-idnr", At::WordStart},
    {u"umsatzsteuer", At::WordStart},
    {u"mwst", At::WordStart},
    {u"mehrwertsteuer", At::WordStart},
    {u"uid", At::WordStart},
    {u"wirtschafts-id", At::WordStart},
    {u"wirtschafts-identifikation", At::WordStart},
    {u"vat", At::Word},
    {u"tax", At::Word},
    {u"gerichtsstand", At::WordStart},
    {u"erfüllungsort", At::WordStart},
    {u"sitz", At::Word},
    {u"hrb", At::Word},
    {u"hra", At::Word},
    {u"fn", At::Word},
    {u"vr", At::Word},
    {u"gnr", At::Word},
    {u"che-", At::WordStart},
    {u"atu", At::WordStart},
    {u"aufsichtsbehörde", At::WordStart},
    {u"aufsichtsrat", At::WordStart},
    {u"gewerbeaufsicht", At::WordStart},
    {u"kammer", At::WordEnd},
    {u"kammerzugehörigkeit", At::WordStart},
    {u"berufsbezeichnung", At::WordStart},
    {u"berufsrecht", At::WordStart},
    {u"berufshaftpflicht", At::WordStart},
    {u"mitgliedschaft", At::WordStart},
    {u"mitglied", At::Word},
    {u"haftung", At::Start},
    {u"datenschutz", At::WordStart},
    {u"unternehmensgegenstand", At::WordStart},
    {u"verliehen", At::WordStart},
    {u"stammkapital", At::WordStart},
    {u"grundkapital", At::WordStart},
    {u"eingetragen", At::WordStart},
    {u"registriert", At::WordStart},
    {u"zuständige", At::WordStart},
    {u"behörde", At::WordEnd},
    {u"rechtsform", At::WordStart},
    {u"gesellschaftssitz", At::WordStart},
};

const Cue BankLines[] = {
    {u"iban", At::WordStart},  {u"bic", At::Word},
    {u"swift", At::WordStart}, {u"bankverbindung", At::WordStart},
    {u"konto", At::WordStart}, {u"kto", At::WordStart},
    {u"blz", At::Word},        {u"bankleitzahl", At::WordStart},
    {u"bank:", At::Start},
};

const Cue OpeningHours[] = {
    {u"öffnungszeit", At::WordStart},
    {u"sprechzeit", At::WordStart},
    {u"geschäftszeit", At::WordStart},
    {u"bürozeit", At::WordStart},
    {u"servicezeit", At::WordStart},
    {u"erreichbar", At::WordStart},
    {u"opening hours", At::WordStart},
    {u"office hours", At::WordStart},
    {u"uhr", At::Word},
    {u"montag", At::WordStart},
    {u"mo-", At::Start},
    {u"mo.", At::Start},
    {u"mo –", At::Start},
    {u"mo -", At::Start},
    {u"mo–", At::Start},
    {u"mo bis", At::Start},
    {u"mon-", At::Start},
    {u"termine nach", At::Start},
    {u"nach vereinbarung", At::Anywhere},
};

const Cue Disclaimers[] = {
    {u"diese e-mail", At::Start},     {u"diese nachricht", At::Start},
    {u"this e-mail", At::Start},      {u"this email", At::Start},
    {u"this message", At::Start},     {u"vertraulich", At::WordStart},
    {u"confidential", At::WordStart}, {u"bitte denken sie", At::Start},
    {u"please consider", At::Start},  {u"sent from", At::Start},
    {u"gesendet von", At::Start},     {u"von meinem", At::Start},
    {u"folgen sie uns", At::Start},   {u"follow us", At::Start},
};

const DropRule Drops[] = {
    {u"a greeting", Greetings},
    {u"a heading", Headings, true},
    {u"a legal, register or tax line", LegalLines},
    {u"a bank line", BankLines},
    {u"opening hours", OpeningHours},
    {u"a notice", Disclaimers},
};

const Cue Roles[] = {
    {u"inhaberin", At::Start},
    {u"inh.", At::Start},
    {u"inhaber", At::Start},
    {u"geschäftsführerin", At::Start},
    {u"geschäftsführer", At::Start},
    {u"geschäftsführung", At::Start},
    {u"geschäftsleitung", At::Start},
    {u"vertreten durch", At::Start},
    {u"vertretungsberechtigt", At::Start},
    {u"vorstandsvorsitzende", At::Start},
    {u"vorstand", At::Start},
    {u"vorsitzende", At::Start},
    {u"vorsitzender", At::Start},
    {u"verwaltungsrat", At::Start},
    {u"präsident", At::Start},
    {u"webseitenbetreiber", At::Start},
    {u"betreiber", At::Start},
    {u"medieninhaber", At::Start},
    {u"ansprechpartnerin", At::Start},
    {u"ansprechpartner", At::Start},
    {u"kontaktperson", At::Start},
    {u"gesellschafterin", At::Start},
    {u"gesellschafter", At::Start},
    {u"managing director", At::Start},
    {u"owner", At::Start},
    {u"persönlich haftend", At::Start},
    {u"prokurist", At::Start},
    {u"leitung", At::Start},
    {u"praxisinhaber", At::Start},
};

const Cue JobWords[] = {
    {u"geschäftsführ", At::WordStart},
    {u"geschäftsleit", At::WordStart},
    {u"leiter", At::WordStart},
    {u"leiterin", At::WordEnd},
    {u"leiter", At::WordEnd},
    {u"leitung", At::WordEnd},
    {u"manager", At::WordStart},
    {u"managerin", At::WordEnd},
    {u"manager", At::WordEnd},
    {u"referent", At::WordStart},
    {u"assistent", At::WordStart},
    {u"assistenz", At::WordStart},
    {u"assistant", At::WordStart},
    {u"sachbearbeit", At::WordStart},
    {u"berater", At::WordStart},
    {u"beraterin", At::WordEnd},
    {u"berater", At::WordEnd},
    {u"consultant", At::WordStart},
    {u"head of", At::WordStart},
    {u"director", At::WordStart},
    {u"direktor", At::WordStart},
    {u"vorstand", At::WordStart},
    {u"prokurist", At::WordStart},
    {u"ceo", At::Word},
    {u"cfo", At::Word},
    {u"cto", At::Word},
    {u"coo", At::Word},
    {u"founder", At::WordStart},
    {u"gründer", At::WordStart},
    {u"inhaber", At::WordStart},
    {u"partnerin", At::Word},
    {u"sales", At::Word},
    {u"key account", At::WordStart},
    {u"account", At::Word},
    {u"vertrieb", At::Word},
    {u"engineer", At::WordStart},
    {u"entwickler", At::WordStart},
    {u"developer", At::WordStart},
    {u"rechtsanw", At::WordStart},
    {u"arzt", At::WordEnd},
    {u"praktiker", At::WordEnd},
    {u"praktikerin", At::WordEnd},
    {u"lektor", At::WordEnd},
    {u"lektorin", At::WordEnd},
    {u"übersetzer", At::WordEnd},
    {u"übersetzerin", At::WordEnd},
    {u"dolmetscher", At::WordEnd},
    {u"dolmetscherin", At::WordEnd},
    {u"journalist", At::WordEnd},
    {u"journalistin", At::WordEnd},
    {u"freiberuf", At::WordStart},
    {u"selbständig", At::WordStart},
    {u"selbstständig", At::WordStart},
    {u"ärztin", At::WordEnd},
    {u"fachanw", At::WordStart},
    {u"steuerberater", At::Word},
    {u"steuerberaterin", At::Word},
    {u"wirtschaftsprüfer", At::WordStart},
    {u"notar", At::Word},
    {u"notarin", At::Word},
    {u"ingenieur", At::Word},
    {u"ingenieurin", At::Word},
    {u"meister", At::Word},
    {u"meisterin", At::Word},
    {u"techniker", At::WordStart},
    {u"technikerin", At::WordEnd},
    {u"kauffrau", At::WordEnd},
    {u"kaufmann", At::WordEnd},
    {u"officer", At::WordStart},
    {u"specialist", At::WordStart},
    {u"spezialist", At::WordStart},
    {u"koordinator", At::WordStart},
    {u"disponent", At::WordStart},
    {u"mitarbeiter", At::WordStart},
    {u"senior", At::Word},
    {u"junior", At::Word},
    {u"architekt", At::Word},
    {u"architektin", At::Word},
    {u"therapeut", At::WordEnd},
    {u"therapeutin", At::WordEnd},
    {u"sekretariat", At::Word},
    {u"empfang", At::Word},
    {u"innendienst", At::Word},
    {u"außendienst", At::Word},
    {u"kundenbetreuung", At::Word},
    {u"kundenberat", At::WordStart},
    {u"projektleit", At::WordStart},
    {u"vorsitzende", At::WordStart},
    {u"sprecher", At::WordStart},
    {u"beauftragte", At::WordEnd},
    {u"beauftragter", At::WordEnd},
    {u"buchhalter", At::WordStart},
    {u"assistentin", At::WordEnd},
    {u"mitarbeiterin", At::WordEnd},
    {u"referentin", At::WordEnd},
    {u"redakteur", At::WordStart},
    {u"designer", At::WordStart},
    {u"trainee", At::Word},
    {u"werkstudent", At::WordStart},
    {u"auszubildende", At::WordStart},
    {u"praktikant", At::WordStart},
    {u"owner", At::Word},
    {u"president", At::Word},
    {u"präsident", At::Word},
    {u"präsidentin", At::Word},
};

const Cue LegalFormsTable[] = {
    {u"gmbh", At::WordEnd},
    {u"mbh", At::Word},
    {u"ag", At::Word},
    {u"kg", At::Word},
    {u"ohg", At::Word},
    {u"gbr", At::Word},
    {u"ug", At::Word},
    {u"e.k.", At::Anywhere},
    {u"e. k.", At::Anywhere},
    {u"e.v.", At::Anywhere},
    {u"e. v.", At::Anywhere},
    {u"e.u.", At::Anywhere},
    {u"eg", At::Word},
    {u"se", At::Word},
    {u"kgaa", At::Word},
    {u"ltd", At::Word},
    {u"inc", At::Word},
    {u"llc", At::Word},
    {u"plc", At::Word},
    {u"sa", At::Word},
    {u"sàrl", At::Word},
    {u"sarl", At::Word},
    {u"s.a.", At::Anywhere},
    {u"og", At::Word},
    {u"gesmbh", At::WordEnd},
    {u"partg", At::WordStart},
    {u"anstalt", At::WordEnd},
    {u"stiftung", At::WordEnd},
    {u"verein", At::WordStart},
    {u"genossenschaft", At::WordEnd},
    {u"partnerschaft", At::WordEnd},
    {u"& co", At::Anywhere},
    {u"mbb", At::Word},
};

const Cue Businesses[] = {
    {u"&", At::Anywhere},
    {u" + ", At::Anywhere},
    {u"partner", At::Word},
    {u"bau", At::WordEnd},
    {u"technik", At::WordEnd},
    {u"tech", At::WordEnd},
    {u"mechanik", At::WordEnd},
    {u"werk", At::WordEnd},
    {u"werke", At::WordEnd},
    {u"werkstatt", At::WordEnd},
    {u"werkstätten", At::WordEnd},
    {u"service", At::WordEnd},
    {u"services", At::WordEnd},
    {u"systeme", At::WordEnd},
    {u"systems", At::WordEnd},
    {u"consulting", At::WordEnd},
    {u"design", At::WordEnd},
    {u"logistik", At::WordEnd},
    {u"handel", At::WordEnd},
    {u"büro", At::WordEnd},
    {u"praxis", At::WordEnd},
    {u"kanzlei", At::WordEnd},
    {u"studio", At::WordEnd},
    {u"verlag", At::WordEnd},
    {u"gruppe", At::WordEnd},
    {u"group", At::WordEnd},
    {u"agentur", At::WordEnd},
    {u"solutions", At::WordEnd},
    {u"software", At::WordEnd},
    {u"media", At::WordEnd},
    {u"medien", At::WordEnd},
    {u"immobilien", At::WordEnd},
    {u"versicherung", At::WordEnd},
    {u"versicherungen", At::WordEnd},
    {u"beratung", At::WordEnd},
    {u"hotel", At::WordEnd},
    {u"apotheke", At::WordEnd},
    {u"bäckerei", At::WordEnd},
    {u"metzgerei", At::WordEnd},
    {u"schreinerei", At::WordEnd},
    {u"tischlerei", At::WordEnd},
    {u"elektro", At::WordEnd},
    {u"sanitär", At::WordEnd},
    {u"autohaus", At::WordEnd},
    {u"treuhand", At::WordEnd},
    {u"institut", At::WordEnd},
    {u"akademie", At::WordEnd},
    {u"zentrum", At::WordEnd},
    {u"klinik", At::WordEnd},
    {u"kliniken", At::WordEnd},
    {u"hochschule", At::WordEnd},
    {u"universität", At::WordEnd},
    {u"schule", At::WordEnd},
    {u"museum", At::WordEnd},
    {u"galerie", At::WordEnd},
    {u"restaurant", At::WordEnd},
    {u"gasthof", At::WordEnd},
    {u"gasthaus", At::WordEnd},
    {u"druck", At::WordEnd},
    {u"druckerei", At::WordEnd},
    {u"verwaltung", At::WordEnd},
    {u"dienst", At::WordEnd},
    {u"dienste", At::WordEnd},
    {u"vertrieb", At::WordEnd},
    {u"industrie", At::WordEnd},
    {u"labor", At::WordEnd},
    {u"architekten", At::WordEnd},
    {u"ingenieure", At::WordEnd},
    {u"anwälte", At::WordEnd},
    {u"notariat", At::WordEnd},
    {u"center", At::WordEnd},
    {u"centre", At::WordEnd},
    {u"sparkasse", At::WordEnd},
    {u"bank", At::WordEnd},
    {u"versand", At::WordEnd},
    {u"transport", At::WordEnd},
    {u"transporte", At::WordEnd},
    {u"spedition", At::WordEnd},
    {u"reisen", At::WordEnd},
    {u"touristik", At::WordEnd},
    {u"energie", At::WordEnd},
    {u"pharma", At::WordEnd},
    {u"textil", At::WordEnd},
    {u"optik", At::WordEnd},
    {u"catering", At::WordEnd},
    {u"events", At::WordEnd},
    {u"planung", At::WordEnd},
    {u"vermessung", At::WordEnd},
    {u"stahl", At::WordEnd},
    {u"metall", At::WordEnd},
    {u"kunststoff", At::WordEnd},
    {u"kunststoffe", At::WordEnd},
    {u"verpackung", At::WordEnd},
    {u"verpackungen", At::WordEnd},
    {u"automation", At::WordEnd},
    {u"digital", At::WordEnd},
    {u"werbung", At::WordEnd},
    {u"marketing", At::WordEnd},
    {u"fotografie", At::WordEnd},
    {u"manufaktur", At::WordEnd},
    {u"handwerk", At::WordEnd},
    {u"pflege", At::WordEnd},
    {u"naturkost", At::WordEnd},
    {u"feinkost", At::WordEnd},
    {u"gastronomie", At::WordEnd},
    {u"brauerei", At::WordEnd},
    {u"kellerei", At::WordEnd},
    {u"weingut", At::WordEnd},
    {u"garten", At::WordEnd},
    {u"maschinen", At::WordEnd},
    {u"instruments", At::WordEnd},
    {u"instrumente", At::WordEnd},
    {u"sport", At::WordEnd},
    {u"mode", At::WordEnd},
    {u"möbel", At::WordEnd},
    {u"küchen", At::WordEnd},
    {u"fenster", At::WordEnd},
    {u"dach", At::WordEnd},
    {u"bedachungen", At::WordEnd},
    {u"heizung", At::WordEnd},
    {u"kälte", At::WordEnd},
    {u"umwelt", At::WordEnd},
    {u"recycling", At::WordEnd},
    {u"entsorgung", At::WordEnd},
    {u"reinigung", At::WordEnd},
    {u"gebäudereinigung", At::WordEnd},
    {u"sicherheit", At::WordEnd},
    {u"steuerberatung", At::WordEnd},
    {u"vermögensverwaltung", At::WordEnd},
    {u"verwaltungs", At::WordEnd},
    {u"gemeinde", At::WordEnd},
    {u"stadt", At::Start},
    {u"landratsamt", At::WordEnd},
    {u"amt", At::WordEnd},
    {u"firma ", At::Start},
};

const Cue Streets[] = {
    {u"straße", At::WordEnd}, {u"strasse", At::WordEnd},   {u"str.", At::Anywhere},
    {u"weg", At::WordEnd},    {u"gasse", At::WordEnd},     {u"allee", At::WordEnd},
    {u"platz", At::WordEnd},  {u"ring", At::WordEnd},      {u"damm", At::WordEnd},
    {u"ufer", At::WordEnd},   {u"chaussee", At::WordEnd},  {u"steig", At::WordEnd},
    {u"pfad", At::WordEnd},   {u"markt", At::WordEnd},     {u"graben", At::WordEnd},
    {u"gürtel", At::WordEnd}, {u"kai", At::WordEnd},       {u"quai", At::WordEnd},
    {u"zeile", At::WordEnd},  {u"steg", At::WordEnd},      {u"wall", At::WordEnd},
    {u"stieg", At::WordEnd},  {u"promenade", At::WordEnd}, {u"stiege", At::WordStart},
    {u"am ", At::Start},      {u"an der ", At::Start},     {u"an den ", At::Start},
    {u"im ", At::Start},      {u"in der ", At::Start},     {u"auf der ", At::Start},
    {u"auf dem ", At::Start}, {u"zum ", At::Start},        {u"zur ", At::Start},
    {u"via ", At::Start},     {u"rue ", At::Start},        {u"route ", At::Start},
    {u"chemin ", At::Start},  {u"avenue ", At::Start},     {u"piazza ", At::Start},
    {u"corso ", At::Start},
};

const Cue Departments[] = {
    {u"abteilung", At::WordStart}, {u"abt.", At::Start},         {u"abteilung", At::WordEnd},
    {u"fachbereich", At::Start},   {u"fakultät", At::Start},     {u"lehrstuhl", At::Start},
    {u"referat", At::Start},       {u"dezernat", At::Start},     {u"bereich ", At::Start},
    {u"department", At::Start},    {u"institut für", At::Start},
};

const Cue PostBoxes[] = {
    {u"postfach", At::Start},        {u"pf ", At::Start},         {u"postbox", At::Start},
    {u"p.o. box", At::Start},        {u"po box", At::Start},      {u"case postale", At::Start},
    {u"casella postale", At::Start}, {u"postlagernd", At::Start}, {u"c/o", At::Start},
};

const Cue LeadIns[] = {
    {u"zu händen von", At::Start}, {u"zu händen", At::Start}, {u"z. hd.", At::Start},
    {u"z.hd.", At::Start},         {u"z. hd", At::Start},     {u"z.hd", At::Start},
    {u"z. h.", At::Start},         {u"z.h.", At::Start},      {u"zhd.", At::Start},
    {u"attn.", At::Start},         {u"attn:", At::Start},     {u"attn", At::Start},
    {u"i. a.", At::Start},         {u"i.a.", At::Start},      {u"i. v.", At::Start},
    {u"i.v.", At::Start},          {u"ppa.", At::Start},      {u"pp.", At::Start},
};

const Cue Labels[] = {
    {u"anschrift", At::Start},  {u"adresse", At::Start},     {u"postanschrift", At::Start},
    {u"address", At::Start},    {u"kontakt", At::Start},     {u"kontaktdaten", At::Start},
    {u"firma", At::Start},      {u"unternehmen", At::Start}, {u"name", At::Start},
    {u"firmenname", At::Start}, {u"straße", At::Start},      {u"strasse", At::Start},
    {u"e-mail", At::Start},     {u"email", At::Start},       {u"mail", At::Start},
    {u"e", At::Start},          {u"web", At::Start},         {u"website", At::Start},
    {u"webseite", At::Start},   {u"internet", At::Start},    {u"homepage", At::Start},
    {u"w", At::Start},          {u"ort", At::Start},         {u"plz", At::Start},
    {u"plz/ort", At::Start},    {u"plz / ort", At::Start},   {u"land", At::Start},
};

const PhoneLabel Phones[] = {
    {u"mobiltelefon", PhoneKind::Mobile},
    {u"telefonnummer", PhoneKind::Telephone},
    {u"telefax", PhoneKind::Fax},
    {u"telefon", PhoneKind::Telephone},
    {u"téléphone", PhoneKind::Telephone},
    {u"tél", PhoneKind::Telephone},
    {u"portable", PhoneKind::Mobile},
    {u"tel.-nr", PhoneKind::Telephone},
    {u"tel", PhoneKind::Telephone},
    {u"fon", PhoneKind::Telephone},
    {u"phone", PhoneKind::Telephone},
    {u"ph", PhoneKind::Telephone},
    {u"durchwahl", PhoneKind::Telephone},
    {u"direkt", PhoneKind::Telephone},
    {u"direct", PhoneKind::Telephone},
    {u"zentrale", PhoneKind::Telephone},
    {u"office", PhoneKind::Telephone},
    {u"büro", PhoneKind::Telephone},
    {u"t", PhoneKind::Telephone},
    {u"fax", PhoneKind::Fax},
    {u"fx", PhoneKind::Fax},
    {u"f", PhoneKind::Fax},
    {u"mobile", PhoneKind::Mobile},
    {u"mobil", PhoneKind::Mobile},
    {u"handy", PhoneKind::Mobile},
    {u"mob", PhoneKind::Mobile},
    {u"cell", PhoneKind::Mobile},
    {u"natel", PhoneKind::Mobile},
    {u"m", PhoneKind::Mobile},
};

const Salutation SalutationTable[] = {
    {u"Herrn", u"Herr"}, {u"Herr", u"Herr"}, {u"Hrn.", u"Herr"}, {u"Hrn", u"Herr"},
    {u"Hr.", u"Herr"},   {u"Frau", u"Frau"}, {u"Fr.", u"Frau"},
};

const QStringView Titles[] = {
    u"DI",  u"DDr",  u"MBA",  u"MSc",   u"BSc",   u"MA",  u"BA",   u"Dr",        u"Prof",
    u"Mag", u"Ing",  u"lic",  u"MMag",  u"Bakk",  u"PD",  u"M.Sc", u"B.Sc",      u"M.A",
    u"B.A", u"LL.M", u"Dkfm", u"Mag.a", u"Dr.in", u"DDI", u"Doz",  u"Priv.-Doz",
};

// Starts of compound titles ("Dipl.-Ing.", "Dr.-Ing.", "Univ.-Prof.").
const QStringView TitleStarts[] = {u"Dipl", u"Dr.", u"Prof.", u"Univ.", u"Mag.", u"Ing."};

const QStringView Particles[] = {
    u"von", u"van",   u"de", u"der", u"den", u"zu",  u"vom", u"zum", u"di",  u"da",
    u"del", u"della", u"le", u"la",  u"ten", u"ter", u"op",  u"du",  u"dos", u"af",
};

const CountryName Countries[] = {
    {u"deutschland", u"Deutschland"},
    {u"germany", u"Deutschland"},
    {u"bundesrepublik deutschland", u"Deutschland"},
    {u"österreich", u"Österreich"},
    {u"oesterreich", u"Österreich"},
    {u"austria", u"Österreich"},
    {u"schweiz", u"Schweiz"},
    {u"switzerland", u"Schweiz"},
    {u"suisse", u"Schweiz"},
    {u"svizzera", u"Schweiz"},
    {u"liechtenstein", u"Liechtenstein"},
    {u"fürstentum liechtenstein", u"Liechtenstein"},
    {u"principality of liechtenstein", u"Liechtenstein"},
};

const CountryPrefixRule Prefixes[] = {
    {u"D-", u"Deutschland"},    {u"DE-", u"Deutschland"}, {u"A-", u"Österreich"},
    {u"AT-", u"Österreich"},    {u"CH-", u"Schweiz"},     {u"FL-", u"Liechtenstein"},
    {u"LI-", u"Liechtenstein"},
};

const CountrySign PhoneCountries[] = {
    {u"+423", u"Liechtenstein"}, {u"00423", u"Liechtenstein"}, {u"+41", u"Schweiz"},
    {u"0041", u"Schweiz"},       {u"+43", u"Österreich"},      {u"0043", u"Österreich"},
};

const CountrySign Domains[] = {
    {u".li", u"Liechtenstein"},
    {u".ch", u"Schweiz"},
    {u".at", u"Österreich"},
};

// Cities with four-digit postcodes outside Austria.
const CountrySign Cities[] = {
    {u"vaduz", u"Liechtenstein"},
    {u"schaan", u"Liechtenstein"},
    {u"balzers", u"Liechtenstein"},
    {u"triesen", u"Liechtenstein"},
    {u"triesenberg", u"Liechtenstein"},
    {u"eschen", u"Liechtenstein"},
    {u"mauren", u"Liechtenstein"},
    {u"ruggell", u"Liechtenstein"},
    {u"gamprin", u"Liechtenstein"},
    {u"schellenberg", u"Liechtenstein"},
    {u"planken", u"Liechtenstein"},
    {u"nendeln", u"Liechtenstein"},
    {u"zürich", u"Schweiz"},
    {u"zurich", u"Schweiz"},
    {u"bern", u"Schweiz"},
    {u"basel", u"Schweiz"},
    {u"genf", u"Schweiz"},
    {u"genève", u"Schweiz"},
    {u"lausanne", u"Schweiz"},
    {u"luzern", u"Schweiz"},
    {u"st. gallen", u"Schweiz"},
    {u"st.gallen", u"Schweiz"},
    {u"winterthur", u"Schweiz"},
    {u"lugano", u"Schweiz"},
    {u"biel", u"Schweiz"},
    {u"biel/bienne", u"Schweiz"},
    {u"thun", u"Schweiz"},
    {u"zug", u"Schweiz"},
    {u"chur", u"Schweiz"},
    {u"schaffhausen", u"Schweiz"},
    {u"fribourg", u"Schweiz"},
    {u"aarau", u"Schweiz"},
    {u"olten", u"Schweiz"},
    {u"solothurn", u"Schweiz"},
    {u"neuchâtel", u"Schweiz"},
    {u"sion", u"Schweiz"},
    {u"bellinzona", u"Schweiz"},
    {u"locarno", u"Schweiz"},
    {u"frauenfeld", u"Schweiz"},
    {u"kreuzlingen", u"Schweiz"},
    {u"rapperswil", u"Schweiz"},
    {u"uster", u"Schweiz"},
    {u"dübendorf", u"Schweiz"},
    {u"kloten", u"Schweiz"},
    {u"davos", u"Schweiz"},
    {u"st. moritz", u"Schweiz"},
    {u"glarus", u"Schweiz"},
    {u"herisau", u"Schweiz"},
    {u"appenzell", u"Schweiz"},
    {u"altdorf", u"Schweiz"},
    {u"schwyz", u"Schweiz"},
    {u"sarnen", u"Schweiz"},
    {u"stans", u"Schweiz"},
    {u"liestal", u"Schweiz"},
    {u"montreux", u"Schweiz"},
    {u"vevey", u"Schweiz"},
    {u"nyon", u"Schweiz"},
    {u"köniz", u"Schweiz"},
    {u"kriens", u"Schweiz"},
    {u"horgen", u"Schweiz"},
    {u"wädenswil", u"Schweiz"},
    {u"wetzikon", u"Schweiz"},
    {u"emmen", u"Schweiz"},
    {u"yverdon-les-bains", u"Schweiz"},
    {u"burgdorf", u"Schweiz"},
    {u"langenthal", u"Schweiz"},
    {u"wil", u"Schweiz"},
    {u"zofingen", u"Schweiz"},
    {u"baar", u"Schweiz"},
    {u"cham", u"Schweiz"},
    {u"rorschach", u"Schweiz"},
    {u"arbon", u"Schweiz"},
    {u"brugg", u"Schweiz"},
    {u"wohlen", u"Schweiz"},
    {u"lenzburg", u"Schweiz"},
    {u"meilen", u"Schweiz"},
    {u"küsnacht", u"Schweiz"},
    {u"thalwil", u"Schweiz"},
    {u"interlaken", u"Schweiz"},
    {u"grenchen", u"Schweiz"},
};

// After the "+49" rule German numbers start with "0" or "(0)".
const QStringView Mobiles[] = {
    u"015",       u"016",       u"017",       u"(0)15",     u"(0)16",     u"(0)17",
    u"+43650",    u"+43660",    u"+43664",    u"+43665",    u"+43667",    u"+43670",
    u"+43676",    u"+43677",    u"+43678",    u"+43680",    u"+43681",    u"+43688",
    u"+43690",    u"+43699",    u"+43(0)650", u"+43(0)660", u"+43(0)664", u"+43(0)665",
    u"+43(0)667", u"+43(0)670", u"+43(0)676", u"+43(0)677", u"+43(0)678", u"+43(0)680",
    u"+43(0)681", u"+43(0)688", u"+43(0)690", u"+43(0)699", u"0043650",   u"0043660",
    u"0043664",   u"0043676",   u"0043677",   u"0043678",   u"0043680",   u"0043699",
    u"+4175",     u"+4176",     u"+4177",     u"+4178",     u"+4179",     u"+41(0)7",
    u"004175",    u"004176",    u"004177",    u"004178",    u"004179",    u"+4237",
    u"+4236",     u"004237",    u"004236",
};

// Mobile networks as dialled inside their country.
const CountrySign LocalMobiles[] = {
    {u"0650", u"Österreich"}, {u"0660", u"Österreich"}, {u"0664", u"Österreich"},
    {u"0665", u"Österreich"}, {u"0667", u"Österreich"}, {u"0670", u"Österreich"},
    {u"0676", u"Österreich"}, {u"0677", u"Österreich"}, {u"0678", u"Österreich"},
    {u"0680", u"Österreich"}, {u"0681", u"Österreich"}, {u"0688", u"Österreich"},
    {u"0690", u"Österreich"}, {u"0699", u"Österreich"}, {u"075", u"Schweiz"},
    {u"076", u"Schweiz"},     {u"077", u"Schweiz"},     {u"078", u"Schweiz"},
    {u"079", u"Schweiz"},
};

} // namespace

namespace {

// A table's cues sorted for a quick look-up: those bound to word starts by
// their first letter, those bound to word ends by their last, the rest tried
// one by one. A line is then walked once per table, whatever its size.
class CueIndex
{
public:
    explicit CueIndex(std::span<const Cue> cues) { add(cues); }
    explicit CueIndex(std::span<const DropRule> rules)
    {
        for (const DropRule &rule : rules)
            add(rule.cues);
    }

    const Cue *Find(const CueText &text) const;

private:
    const Cue *findAtStart(const CueText &text) const;
    const Cue *findInWords(const CueText &text) const;

    void add(std::span<const Cue> cues)
    {
        for (const Cue &cue : cues) {
            switch (cue.at) {
            case At::Word:
            case At::WordStart:
                bucket(m_byFirst, cue.text.front()).push_back(&cue);
                break;
            case At::WordEnd:
                bucket(m_byLast, cue.text.back()).push_back(&cue);
                break;
            case At::Start:
            case At::Whole:
                bucket(m_startByFirst, cue.text.front()).push_back(&cue);
                break;
            case At::Anywhere:
                m_anywhere.push_back(&cue);
                break;
            }
        }
    }

    using Buckets = std::array<std::vector<const Cue *>, 129>; // ASCII, then the rest

    static std::vector<const Cue *> &bucket(Buckets &buckets, QChar c)
    {
        return buckets[c.unicode() < 128 ? c.unicode() : 128];
    }
    static const std::vector<const Cue *> &bucketOf(const Buckets &buckets, QChar c)
    {
        return buckets[c.unicode() < 128 ? c.unicode() : 128];
    }

    Buckets m_byFirst;
    Buckets m_byLast;
    Buckets m_startByFirst;
    std::vector<const Cue *> m_anywhere;
};

const Cue *CueIndex::findAtStart(const CueText &text) const
{
    const QStringView lower = text.lower;
    const QStringView whole = text.whole;
    for (const Cue *cue : bucketOf(m_startByFirst, lower[0])) {
        if (cue->at == At::Start ? cue->text.size() <= lower.size() &&
                                       lower[cue->text.size() - 1] == cue->text.back() &&
                                       StartsWithText(lower, cue->text)
                                 : same(whole, cue->text))
            return cue;
    }
    if (whole.isEmpty() || whole[0] == lower[0])
        return nullptr;
    for (const Cue *cue : bucketOf(m_startByFirst, whole[0])) {
        if (cue->at == At::Whole && same(whole, cue->text))
            return cue;
    }
    return nullptr;
}

const Cue *CueIndex::findInWords(const CueText &text) const
{
    const QStringView lower = text.lower;
    const qsizetype n = lower.size();
    for (const auto &[start, end] : text.words) {
        for (const Cue *cue : bucketOf(m_byFirst, lower[start])) {
            const qsizetype after = start + cue->text.size();
            if (after <= n && lower[after - 1] == cue->text.back() &&
                same(lower.sliced(start, cue->text.size()), cue->text) &&
                (cue->at == At::WordStart || endsWord(lower, after)))
                return cue;
        }
        for (const Cue *cue : bucketOf(m_byLast, lower[end - 1])) {
            const qsizetype from = end - cue->text.size();
            if (from >= 0 && lower[from] == cue->text.front() &&
                same(lower.sliced(from, cue->text.size()), cue->text))
                return cue;
        }
    }
    return nullptr;
}

const Cue *CueIndex::Find(const CueText &text) const
{
    if (text.lower.isEmpty())
        return nullptr;
    if (const Cue *cue = findAtStart(text))
        return cue;
    for (const Cue *cue : m_anywhere) {
        if (text.MayHold(cue->text.front()) && text.MayHold(cue->text.back()) &&
            FindText(text.lower, cue->text) >= 0)
            return cue;
    }
    return findInWords(text);
}

} // namespace

bool StartsWithNoCase(QStringView s, QStringView prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (qsizetype k = 0; k < prefix.size(); ++k) {
        const char16_t c = s[k].unicode();
        const char16_t lower = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
        if (lower != prefix[k].unicode())
            return false;
    }
    return true;
}

namespace {

void lowerInto(QStringView s, QChar *d)
{
    for (qsizetype k = 0; k < s.size(); ++k) {
        const char16_t c = s[k].unicode();
        if (c < 128)
            d[k] = QChar((c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c);
        else
            d[k] = s[k].toLower();
    }
}

} // namespace

QString LowerText(QStringView s)
{
    QString out(s.size(), Qt::Uninitialized);
    lowerInto(s, out.data());
    return out;
}

LowerLine::LowerLine(QStringView s) : m_text(s.size())
{
    lowerInto(s, m_text.data());
}

CueText::CueText(QStringView lowerText) : lower(lowerText), whole(core(lowerText))
{
    const qsizetype n = lower.size();
    qsizetype start = -1; // of the word being read
    for (qsizetype p = 0; p < n; ++p) {
        const char16_t u = lower[p].unicode();
        bool wordChar;
        if (u < 128) {
            m_ascii[u / 64] |= quint64(1) << (u % 64);
            wordChar =
                (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z');
        } else {
            m_otherSeen = true;
            wordChar = lower[p].isLetterOrNumber();
        }
        if (wordChar && start < 0) {
            start = p;
        } else if (!wordChar && start >= 0) {
            words.push_back({start, p});
            start = -1;
        }
    }
    if (start >= 0)
        words.push_back({start, n});
}

const Cue *FindCue(QStringView lower, std::span<const Cue> cues)
{
    return FindCue(CueText(lower), cues);
}

const Cue *FindCue(const CueText &text, std::span<const Cue> cues)
{
    // Built once for every table, before the first look-up of any thread.
    static const std::vector<std::pair<const Cue *, CueIndex>> indexes = [] {
        std::vector<std::pair<const Cue *, CueIndex>> built;
        const std::span<const Cue> tables[] = {
            Greetings,   Headings,    LegalLines, BankLines,       OpeningHours,
            Disclaimers, Roles,       JobWords,   LegalFormsTable, Businesses,
            Streets,     Departments, PostBoxes,  LeadIns,         Labels,
        };
        for (const std::span<const Cue> table : tables)
            built.emplace_back(table.data(), CueIndex(table));
        return built;
    }();
    for (const auto &[table, index] : indexes) {
        if (table == cues.data())
            return index.Find(text);
    }
    return CueIndex(cues).Find(text);
}

std::span<const Cue *const> CuesStartingWith(std::span<const Cue> cues, QChar c)
{
    using Buckets = std::array<std::vector<const Cue *>, 129>; // ASCII, then the rest
    const auto byFirst = [](std::span<const Cue> table) {
        Buckets buckets;
        for (const Cue &cue : table)
            buckets[cue.text.front().unicode() < 128 ? cue.text.front().unicode() : 128].push_back(
                &cue);
        return buckets;
    };
    // Built once, before the first look-up of any thread.
    static const Buckets labels = byFirst(Labels);
    static const Buckets roles = byFirst(Roles);
    static thread_local std::vector<const Cue *> other;
    const std::size_t at = c.unicode() < 128 ? c.unicode() : 128;
    if (cues.data() == std::data(Labels) && cues.size() == std::size(Labels))
        return labels[at];
    if (cues.data() == std::data(Roles) && cues.size() == std::size(Roles))
        return roles[at];
    other.clear();
    for (const Cue &cue : cues)
        other.push_back(&cue);
    return other;
}

const DropRule *FindDropRule(const CueText &text)
{
    static const CueIndex index{std::span<const DropRule>(Drops)};
    const Cue *cue = index.Find(text);
    if (cue == nullptr)
        return nullptr;
    for (const DropRule &rule : Drops) {
        if (cue >= rule.cues.data() && cue < rule.cues.data() + rule.cues.size())
            return &rule;
    }
    return nullptr;
}

std::span<const DropRule> DropRules()
{
    return Drops;
}
std::span<const Cue> RoleLabels()
{
    return Roles;
}
std::span<const Cue> JobTitleWords()
{
    return JobWords;
}
std::span<const Cue> LegalForms()
{
    return LegalFormsTable;
}
std::span<const Cue> BusinessWords()
{
    return Businesses;
}
std::span<const Cue> StreetCues()
{
    return Streets;
}
std::span<const Cue> DepartmentCues()
{
    return Departments;
}
std::span<const Cue> PostBoxCues()
{
    return PostBoxes;
}
std::span<const Cue> NameLeadIns()
{
    return LeadIns;
}
std::span<const Cue> ValueLabels()
{
    return Labels;
}
std::span<const PhoneLabel> PhoneLabels()
{
    return Phones;
}

std::span<const PhoneLabel *const> PhoneLabelsStartingWith(QChar c)
{
    // Built once, before the first look-up of any thread.
    static const std::array<std::vector<const PhoneLabel *>, 129> buckets = [] {
        std::array<std::vector<const PhoneLabel *>, 129> built;
        for (const PhoneLabel &label : Phones) {
            const char16_t first = label.text.front().unicode();
            built[first < 128 ? first : 128].push_back(&label);
        }
        return built;
    }();
    return buckets[c.unicode() < 128 ? c.unicode() : 128];
}
std::span<const Salutation> Salutations()
{
    return SalutationTable;
}
std::span<const QStringView> TitleWords()
{
    return Titles;
}
std::span<const QStringView> TitleBeginnings()
{
    return TitleStarts;
}
std::span<const QStringView> NameParticles()
{
    return Particles;
}
std::span<const CountryName> CountryNames()
{
    return Countries;
}
std::span<const CountryPrefixRule> PostcodePrefixes()
{
    return Prefixes;
}
std::span<const CountrySign> PhoneCountryPrefixes()
{
    return PhoneCountries;
}
std::span<const CountrySign> DomainCountries()
{
    return Domains;
}
std::span<const CountrySign> FourDigitCities()
{
    return Cities;
}
std::span<const QStringView> MobilePrefixes()
{
    return Mobiles;
}
std::span<const CountrySign> LocalMobilePrefixes()
{
    return LocalMobiles;
}
