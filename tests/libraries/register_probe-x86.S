// A stand-in for the SNMP library, for 32-bit x86 Linux, that checks how it is called: the first
// three arguments in EAX, EDX and ECX; for Snmp the table file name on top of the stack, right
// above "10", both removed by the callee (ret $8). Dopen and Snmp return a text that names the
// first check that failed; Snmp writes its table file, and Dclos creates Dclos.ok in the current
// directory, only when every check passed. No C library: files by system call.

  .text

// Compares the texts at ESI and EDI. EAX = 0 when equal. Changes ESI and EDI.
equal_texts:
  testl %esi, %esi
  jz 2f
1:
  movb (%esi), %al
  cmpb (%edi), %al
  jne 2f
  incl %esi
  incl %edi
  testb %al, %al
  jnz 1b
  xorl %eax, %eax
  ret
2:
  movl $1, %eax
  ret

// Dopen(EAX action, EDX library name)
  .globl Dopen
  .type Dopen, @function
Dopen:
  pushl %ebx
  pushl %esi
  pushl %edi
  call 0f
0:
  popl %ebx
  movl %eax, %esi
  leal (loading - 0b)(%ebx), %edi
  call equal_texts
  leal (dopen_eax - 0b)(%ebx), %ecx
  testl %eax, %eax
  jnz 9f
  movl %edx, %esi
  leal (library_name - 0b)(%ebx), %edi
  call equal_texts
  leal (dopen_edx - 0b)(%ebx), %ecx
  testl %eax, %eax
  jnz 9f
  leal (dopen_ok - 0b)(%ebx), %ecx
9:
  movl %ecx, %eax
  popl %edi
  popl %esi
  popl %ebx
  ret
  .size Dopen, . - Dopen

// Snmp(EAX address, EDX community, ECX request; stack: table file name, then "10")
  .globl Snmp
  .type Snmp, @function
Snmp:
  pushl %ebp
  movl %esp, %ebp
  pushl %ebx
  pushl %esi
  pushl %edi
  // 8(%ebp): the argument on top of the stack at the call, the table file name; 12(%ebp): "10".
  pushl %ecx
  call 0f
0:
  popl %ebx
  movl %eax, %esi
  leal (address - 0b)(%ebx), %edi
  call equal_texts
  leal (snmp_eax - 0b)(%ebx), %ecx
  testl %eax, %eax
  jnz 9f
  movl %edx, %esi
  leal (community - 0b)(%ebx), %edi
  call equal_texts
  leal (snmp_edx - 0b)(%ebx), %ecx
  testl %eax, %eax
  jnz 9f
  movl -16(%ebp), %esi
  leal (request - 0b)(%ebx), %edi
  call equal_texts
  leal (snmp_ecx - 0b)(%ebx), %ecx
  testl %eax, %eax
  jnz 9f
  movl 12(%ebp), %esi
  leal (budget - 0b)(%ebx), %edi
  call equal_texts
  leal (snmp_stack - 0b)(%ebx), %ecx
  testl %eax, %eax
  jnz 9f
  // open(table file, O_WRONLY | O_CREAT | O_TRUNC, 0644), write the table, close.
  movl %ebx, %edi
  movl 8(%ebp), %ebx
  movl $5, %eax
  movl $0x241, %ecx
  movl $0644, %edx
  int $0x80
  movl %edi, %ebx
  leal (snmp_file - 0b)(%ebx), %ecx
  testl %eax, %eax
  js 9f
  movl %eax, %esi
  movl $4, %eax
  movl %esi, %ebx
  leal (table - 0b)(%edi), %ecx
  movl $(table_end - table), %edx
  int $0x80
  movl $6, %eax
  movl %esi, %ebx
  int $0x80
  movl %edi, %ebx
  leal (snmp_ok - 0b)(%ebx), %ecx
9:
  movl %ecx, %eax
  addl $4, %esp
  popl %edi
  popl %esi
  popl %ebx
  popl %ebp
  ret $8
  .size Snmp, . - Snmp

// Dclos(EAX action, EDX library name)
  .globl Dclos
  .type Dclos, @function
Dclos:
  pushl %ebx
  pushl %esi
  pushl %edi
  call 0f
0:
  popl %ebx
  movl %eax, %esi
  leal (unloading - 0b)(%ebx), %edi
  call equal_texts
  testl %eax, %eax
  jnz 9f
  movl %edx, %esi
  leal (library_name - 0b)(%ebx), %edi
  call equal_texts
  testl %eax, %eax
  jnz 9f
  // open("Dclos.ok", O_WRONLY | O_CREAT | O_TRUNC, 0644), close.
  movl %ebx, %edi
  leal (dclos_marker - 0b)(%edi), %ebx
  movl $5, %eax
  movl $0x241, %ecx
  movl $0644, %edx
  int $0x80
  testl %eax, %eax
  js 8f
  movl %eax, %ebx
  movl $6, %eax
  int $0x80
8:
  movl %edi, %ebx
9:
  leal (empty - 0b)(%ebx), %eax
  popl %edi
  popl %esi
  popl %ebx
  ret
  .size Dclos, . - Dclos

  .section .rodata
loading: .asciz "Loading"
unloading: .asciz "Unloading"
library_name: .asciz "Morvane.DLL"
address: .asciz "192.0.2.7"
community: .asciz "probe"
request: .asciz "Kestrova"
budget: .asciz "10"
dclos_marker: .asciz "Dclos.ok"
dopen_ok: .asciz "Register probe 1.0"
dopen_eax: .asciz "Probe failed: Dopen argument 1 not in EAX"
dopen_edx: .asciz "Probe failed: Dopen argument 2 not in EDX"
snmp_eax: .asciz "Probe failed: Snmp argument 1 not in EAX"
snmp_edx: .asciz "Probe failed: Snmp argument 2 not in EDX"
snmp_ecx: .asciz "Probe failed: Snmp argument 3 not in ECX"
snmp_stack: .asciz "Probe failed: Snmp argument 4 not right above the top of the stack"
snmp_file: .asciz "Probe failed: table file not created"
snmp_ok: .asciz "Probe ok: arguments in EAX, EDX, ECX, table file on top of 10"
empty: .asciz ""
table:
  .ascii "* Register probe\r\n"
  .ascii " L   4242                                 .\r\n"
table_end:

  .section .note.GNU-stack, "", @progbits
