# Makes the AppStream metainfo file OUT from the template IN: the release from
# the version VERSION and the date of the newest entry of the Debian changelog
# CHANGELOG, and the sentence on flashes from the first line of the flash
# verdict VERDICT ("pass" or "fail"), so that it says what the check found.
# Run with cmake -P.
file(STRINGS ${VERDICT} verdict LIMIT_COUNT 1)
if(verdict STREQUAL "fail")
  set(FLASH_SENTENCE "Warning: the show fails the photosensitive-flash check (WCAG 2.3.1). Parts of it \
flash more than three times a second over more than a quarter of the eye's central field, which can cause \
seizures in people with photosensitive epilepsy. The program says so before the show starts, naming the scenes, and \
vokdemo --gentle holds back only the flashes over the limit.")
elseif(verdict STREQUAL "pass")
  set(FLASH_SENTENCE "The show passes the photosensitive-flash check (WCAG 2.3.1): nothing in it flashes \
more than three times a second over more than a quarter of the eye's central field.")
else()
  message(FATAL_ERROR "${VERDICT} is not a flash verdict: its first line is '${verdict}', not pass or fail")
endif()

# " -- NAME <MAIL>  Tue, 08 Dec 2026 12:00:00 +0000": the first such line is the newest entry's.
file(STRINGS ${CHANGELOG} trailers REGEX "^ -- .*  [A-Z][a-z][a-z], [0-9][0-9] [A-Z][a-z][a-z] [0-9][0-9][0-9][0-9] ")
list(GET trailers 0 newest)
string(REGEX MATCH "([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9])" found "${newest}")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
if(month LESS 10)
  set(month "0${month}")
endif()
set(RELEASE_DATE "${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1}")

configure_file(${IN} ${OUT} @ONLY)
