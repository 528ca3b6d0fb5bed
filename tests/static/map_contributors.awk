# Bytes each archive (or object) puts into a GNU ld map's loaded sections, largest first:
#   awk -f map_contributors.awk PROGRAM.map | sort -rn | head
# Sections that take no file space (.bss, common) and discarded input are left out.
function hex(text,    value, i, digit) {
  value = 0
  text = tolower(substr(text, 3))
  for (i = 1; i <= length(text); ++i) {
    digit = index("0123456789abcdef", substr(text, i, 1)) - 1
    value = value * 16 + digit
  }
  return value
}
/^Linker script and memory map/ { mapped = 1; next }
!mapped { next }
/^[.][^ ]/ { output = $1; next }           # an output section
output == ".bss" || output ~ /^[.]debug/ { next }
/^ [.*][^ ]*$/ { pending = 1; next }        # input section whose numbers follow on the next line
{
  if (pending && $1 ~ /^0x/ && NF >= 3) { size = $2; file = $3 }
  else if ($0 ~ /^ [.][^ ]+ +0x/ && NF >= 4) { size = $3; file = $4 }
  else { pending = 0; next }
  pending = 0
  if (file == "" || size !~ /^0x/) next
  sub(/\(.*$/, "", file)                  # archive(member) -> archive
  n = split(file, parts, "/"); file = parts[n]
  bytes[file] += hex(size)
}
END { for (f in bytes) if (bytes[f] > 0) printf "%8d %s\n", bytes[f], f }
