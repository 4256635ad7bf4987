#!/usr/bin/env bash
# The built manual: the version on its title page, an outline and linked contents, every picture
# its text names, and every message box of the programs with what to do in its troubleshooting
# chapter.
#
#   manual_pdf.sh SOURCE_DIR MANUAL.pdf VERSION
set -euo pipefail
source=$1 pdf=$2 version=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

title=$(pdftotext -f 1 -l 1 "$pdf" -)
grep -qxF "Version $version" <<<"$title" || fail "page 1 does not say Version $version"
# The last chapter in the outline, and its row in the contents a link to its page.
xml=$(pdftohtml -xml -i -stdout -q "$pdf")
page=$(sed -n 's|.*<item page="\([0-9]*\)">Troubleshooting</item>.*|\1|p' <<<"$xml")
[ -n "$page" ] || fail "the outline lacks the chapters"
grep -q "<a href=\"[^\"]*#$page\"><b>Troubleshooting</b></a>" <<<"$xml" ||
    fail "the contents do not link to page $page"

pictures=$(grep -o '^!\[[^]]*\]([^)]*)' "$source/docs/manual.md" | sort -u | wc -l)
embedded=$(pdfimages -list "$pdf" | awk 'NR > 2 && $3 == "image"' | wc -l)
[ "$embedded" -ge "$pictures" ] || fail "$embedded pictures embedded, the text names $pictures"

# Compared without white space, as the PDF breaks lines anywhere (after a hyphen too), and with
# its ligatures spelt out.
chapter=$(pdftotext "$pdf" - | awk '$0 == "Troubleshooting" { text = "" } { text = text $0 }
                                   END { print text }' |
          sed -e 's/ﬀ/ff/g' -e 's/ﬁ/fi/g' -e 's/ﬂ/fl/g' -e 's/ﬃ/ffi/g' -e 's/ﬄ/ffl/g' |
          tr -d '[:space:]')

# Message texts, up to their first placeholder or variable part: the literal given where a box is
# shown, found by the calls that show one, and the texts kept apart from their box, found by the
# name or case that starts them in their file.
messages=$(cd "$source" && perl -0777 -ne '
    sub literal {
        my ($rest) = @_;
        my $text = "";
        while ($rest =~ /\G\s*"((?:[^"\\]|\\.)*)"/gc) { $text .= $1; }
        $text =~ s/\\r\\n|\\n/ /g;
        $text =~ s/\\(.)/$1/g;
        $text =~ s/%\d.*//s;
        return $text;
    }
    my $open = qr/(?:(?:QObject::)?tr|QStringLiteral)\(/;
    while (/(?:\.Message\(\s*[^,{]+,\s*\{\s*$open
              |QMessageBox::(?:warning|critical|information|question)\([^,]+,[^,]+,\s*$open
              |ShowError\(\s*$open|Tell\w*\([^,]+,[^,]+,\s*$open|Refuse\(\s*$open|NameProblem\{)/gx) {
        my $text = literal(substr($_, pos));
        print "$text\n" if length $text;
    }' kestrix/app/*.cpp kestrix/gui/*/*.cpp kestrix/locations/*.cpp setup/*.cpp
    while read -r file anchor; do
        ANCHOR=$anchor perl -0777 -ne 'my $at = index($_, $ENV{ANCHOR}); exit 1 if $at < 0;
            substr($_, $at) =~ /"((?:[^"\\]|\\.)*)"/ or exit 1; my $text = $1;
            $text =~ s/\\(.)/$1/g; print "$text\n"' "$file" ||
            fail "$anchor is no longer in $file: the table below must follow the code"
    done <<'TABLE'
kestrix/shell/startup.h kAlreadyRunningMessage =
kestrix/instrument/sessionTexts.cpp kNoPortSelected =
kestrix/instrument/sessionTexts.cpp kNoAddressSelected =
kestrix/instrument/sessionTexts.cpp kInvalidConnection =
kestrix/instrument/sessionTexts.cpp kDownloadError =
kestrix/instrument/sessionTexts.cpp LostCommunicationText() {
kestrix/instrument/sessionTexts.cpp NotSameInstrumentText() {
kestrix/instrument/sessionTexts.cpp NoDataNoticeText() {
kestrix/instrument/sessionTexts.cpp CancelDownloadQuestion() {
kestrix/instrument/sessionTexts.cpp FastPortProblemText(const
kestrix/instrument/sessionTexts.cpp NoPermissionText(const
kestrix/instrument/uploadTexts.cpp InvalidNameText(const
kestrix/instrument/uploadTexts.cpp RepeatedNameText(const
kestrix/instrument/uploadTexts.cpp CannotUploadQuestion() {
kestrix/instrument/uploadTexts.cpp OverwriteQuestion() {
kestrix/instrument/uploadTexts.cpp CancelUploadQuestion() {
kestrix/instrument/DensitySession.cpp NotIaqText() {
kestrix/instrument/DensityValue.cpp DensityProblem::Zero:
kestrix/instrument/DensityValue.cpp DensityProblem::OutOfRange:
TABLE
)
[ "$(wc -l <<<"$messages")" -gt 40 ] || fail "too few message texts found in the code: $messages"

missing=""
while IFS= read -r message; do
    [[ "$chapter" == *"$(tr -d '[:space:]' <<<"$message")"* ]] || missing+="  $message"$'\n'
done <<<"$messages"
[ -z "$missing" ] || fail "the troubleshooting chapter lacks these messages:"$'\n'"$missing"
echo "manual: version, outline, $embedded pictures and $(wc -l <<<"$messages") messages found"
