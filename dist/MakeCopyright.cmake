# Writes the Debian copyright file of the package: the file map of .reuse/dep5 followed by one paragraph
# per licence it names. The GPL and CC0 texts are on every Debian system; CC BY-SA is not, so its whole
# text goes in. Run as: cmake -DSOURCE=<project root> -DOUTPUT=<file> -P MakeCopyright.cmake
file(READ ${SOURCE}/.reuse/dep5 map)

set(gpl [[License: GPL-3.0-or-later
 This program is free software: you can redistribute it and/or modify it
 under the terms of the GNU General Public License as published by the Free
 Software Foundation, either version 3 of the License, or (at your option)
 any later version.
 .
 On Debian systems, the complete text of the GNU General Public License
 version 3 can be found in "/usr/share/common-licenses/GPL-3".
]])
set(cc0 [[License: CC0-1.0
 On Debian systems, the complete text of the CC0 1.0 Universal public domain
 dedication can be found in "/usr/share/common-licenses/CC0-1.0".
]])

# A licence text as a field's continuation lines: each line indented by one blank, empty ones as " .".
file(READ ${SOURCE}/LICENSES/CC-BY-SA-4.0.txt text)
string(STRIP "${text}" text)
string(REPLACE "\n" "\n " text " ${text}")
string(REGEX REPLACE "\n +\n" "\n .\n" text "${text}")
string(REGEX REPLACE "\n +\n" "\n .\n" text "${text}")
set(ccbysa "License: CC-BY-SA-4.0\n${text}\n")

file(WRITE ${OUTPUT} "${map}\n${gpl}\n${ccbysa}\n${cc0}")
