# The setup helpers' tables and their system-facing checks (processes, links,
# registry, HTTP against the stand-in), then the VM probes' handler check.
wrun 120 "$WIN_BIN/common_tests.exe" || fail "common_tests.exe"

status=0
output=$(wrun 30 "$WIN_BIN/vm_probe_then_fault.exe") || status=$?
expect "$output" "vpc=0 vmware=0" "VM probes answer false outside a virtual machine"
# With no debugger in the prefix an unhandled fault ends the process with 5.
expect "$status" 5 "an access violation after the probes still ends the process"
