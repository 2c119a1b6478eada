#pragma once

#include "Score.h"

// Every score of the recognition in one table: each rule is named for what it
// recognises in a line and gives points to the fields it speaks for; the
// comment above it says why. A line goes to the field with the most points,
// so only the sizes relative to each other matter: the score cases and the
// labelled set under tests/recognition/data show what a change moves.
namespace ScoreRules {

namespace Field {
constexpr auto Company = &CapturedLine::Firma;
constexpr auto Contact = &CapturedLine::Kontakt;
constexpr auto Salutation = &CapturedLine::Anrede;
constexpr auto LastName = &CapturedLine::Nachname;
constexpr auto FirstName = &CapturedLine::Vorname;
constexpr auto PostBox = &CapturedLine::Postfach;
constexpr auto Street = &CapturedLine::Adresse;
constexpr auto Postcode = &CapturedLine::PLZ;
constexpr auto City = &CapturedLine::Ort;
constexpr auto Country = &CapturedLine::Land;
constexpr auto Telephone = &CapturedLine::Telefon;
constexpr auto Fax = &CapturedLine::Fax;
constexpr auto Mobile = &CapturedLine::Mobil;
constexpr auto EMail = &CapturedLine::EMail;
constexpr auto Website = &CapturedLine::Website;
constexpr auto Title = &CapturedLine::Titel;
} // namespace Field

using namespace Field;

// clang-format off

// --- where the line stands in the block
// A block opens with the company and the person, in either order ...
constexpr ScoreRule FirstLine                    {{Company, 3}, {Contact, 3}};
// ... and the person comes first a little less often.
constexpr ScoreRule SecondLine                   {{Company, 3}, {Contact, 4}};
// The street follows them.
constexpr ScoreRule ThirdToFifthLine             {{Street, 3}};
// Postcode and city close the address.
constexpr ScoreRule FourthOrFifthLine            {{City, 2}, {Postcode, 1}};

// --- the line's shape
// First name and last name.
constexpr ScoreRule TwoWords                     {{Contact, 2}};
// A company's name runs longer than a person's.
constexpr ScoreRule ThreeOrMoreWords             {{Contact, 1}, {Company, 2}};
// "AG", "GmbH", "IBM": capitals side by side abbreviate a company.
constexpr ScoreRule TwoCapitalsInARow            {{Company, 3}};
// A person's name has no digits.
constexpr ScoreRule AnyDigit                     {{Company, 1}};
// Joined names are more often a company's.
constexpr ScoreRule Hyphen                       {{Company, 1}};
// A postcode alone on its line has its city beside it (per side).
constexpr ScoreRule NextToBarePostcode           {{City, 10}};
// One to five digits: a house number, a box number or a postcode ...
constexpr ScoreRule FewDigits                    {{Street, 3}, {PostBox, 3}, {Postcode, 3},
                                                  {Company, 2}, {EMail, 1}};
// ... up to three are most likely a house number ...
constexpr ScoreRule UpToThreeDigits              {{Street, 1}};
// ... and four a postcode of a neighbouring country.
constexpr ScoreRule FourDigits                   {{Postcode, 2}};
// "80331 München" opens with its postcode ...
constexpr ScoreRule LeadingPostcode              {{Postcode, 8}};
// ... and the rest, cut off as a line of its own, is the city.
constexpr ScoreRule CityAfterPostcode            {{City, 11}};

// --- words and marks in the line
// "&", "*", "GmbH", "AG", "Firma" ...
constexpr ScoreRule CompanyMark                  {{Company, 3}};
// Beside a marked company in the opening pair stands the person.
constexpr ScoreRule BesideCompanyMark            {{Contact, 1}};
// "Deutschland", "Schweiz", "USA" ...
constexpr ScoreRule CountryName                  {{Country, 6}};
// "...land" low in the block is more likely a country than a name.
constexpr ScoreRule LandFromFourthLine           {{Country, 3}};
// "Herr", "Frau".
constexpr ScoreRule SalutationWord               {{Salutation, 10}};
// "Herr Max Muster": the name follows on the same line ...
constexpr ScoreRule NameAfterSalutation          {{Contact, 11}};
// ... while "Herr" or "Frau Dr." alone is the salutation ...
constexpr ScoreRule SalutationAlone              {{Salutation, 3}};
// ... and the name is on the next line.
constexpr ScoreRule NameBelowSalutation          {{Contact, 10}};
// "Dr.", "Prof.", "Dipl. Ing." go with a person.
constexpr ScoreRule AcademicTitle                {{Contact, 4}, {Title, 3}};
// "Straße", "weg", "allee", "platz" ...
constexpr ScoreRule StreetWord                   {{Street, 10}};
// "Am Park", "Im Garten": streets without a street word.
constexpr ScoreRule PlaceName                    {{Street, 5}};
// "Postfach".
constexpr ScoreRule PostBoxWord                  {{PostBox, 10}};
// A line opening with "Tel", "Telefon", "Phone".
constexpr ScoreRule TelephoneWord                {{Telephone, 10}};
// A line opening with "Fax", "Telefax".
constexpr ScoreRule FaxWord                      {{Fax, 10}};
// A line opening with "Mobil", "Handy".
constexpr ScoreRule MobileWord                   {{Mobile, 10}};
// "www", "http://".
constexpr ScoreRule WebMark                      {{Website, 10}, {EMail, 2}, {Company, 1}};
// An e-mail address, mostly a company's.
constexpr ScoreRule AtSign                       {{EMail, 10}, {Company, 2}};
// ".de", ".com" ... at the end: an address on the net, e-mail or website.
constexpr ScoreRule DomainEnding                 {{EMail, 7}, {Website, 7}};

// --- numbers of six digits or more
// A telephone or fax number; once a line named the telephone or the fax, a
// bare number is less likely to be that one again.
constexpr ScoreRule LongNumberAsTelephone        {{Telephone, 10}};
constexpr ScoreRule LongNumberAfterTelephoneWord {{Telephone, 6}};
constexpr ScoreRule LongNumberAsFax              {{Fax, 10}};
constexpr ScoreRule LongNumberAfterFaxWord       {{Fax, 8}};
constexpr ScoreRule LongNumber                   {{Mobile, 5}, {PostBox, 3}};

// --- lines that say what they are
// "Details der X schließen": a copied details window names the company.
constexpr ScoreRule DetailsWindowName            {{Company, 20}};
// "D-80331", "CH-8001": the country the prefix stands for, as a line of its own.
constexpr ScoreRule CountryOfPostcode            {{Country, 10}};
// An opening line as strong for company as for person takes the role the
// other opening line leaves it.
constexpr ScoreRule UndecidedAsContact           {{Contact, 1}};
constexpr ScoreRule UndecidedAsCompany           {{Company, 1}};

// --- fixed labels ("Firma:", "PLZ:" ...): the label names the field
constexpr ScoreRule CompanyLabel                 {{Company, 15}};
// "Name:" is the last name or the whole name.
constexpr ScoreRule NameLabel                    {{LastName, 10}, {Contact, 5}};
constexpr ScoreRule LastNameLabel                {{LastName, 10}};
constexpr ScoreRule ContactLabel                 {{Contact, 15}};
constexpr ScoreRule FirstNameLabel               {{FirstName, 15}};
constexpr ScoreRule StreetLabel                  {{Street, 15}};
constexpr ScoreRule PostcodeLabel                {{Postcode, 15}};
constexpr ScoreRule PostcodeAndCityLabel         {{Postcode, 5}, {City, 5}};
constexpr ScoreRule CityLabel                    {{City, 15}};
constexpr ScoreRule CountryLabel                 {{Country, 15}};
constexpr ScoreRule TitleLabel                   {{Title, 15}};
constexpr ScoreRule SalutationLabel              {{Salutation, 15}};
// "Inhaber:" names the person behind the company.
constexpr ScoreRule OwnerLabel                   {{Contact, 15}};

// clang-format on

} // namespace ScoreRules
