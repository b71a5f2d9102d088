# Reads from the disassembly of a Windows module (llvm-objdump -d) and its
# function table (llvm-readobj --unwind) whether every function that takes
# the address of its own stack (a local buffer, an address-taken local)
# stores the stack cookie in its prologue and checks it before it returns,
# and whether the check compares with the cookie and fails fast. A build
# without /GS, or a check that cannot fail, is seen here.
#
#   include(stack_cookie_check.cmake)
#   check_stack_cookies(<objdump> <readobj> <module> <out_protected_count>)
#
# The one function allowed to take a stack address unprotected is the one
# that writes the cookie: it runs before the cookie is set.
#
# Instructions are split into lists whose fields may be empty: the including
# script needs policy CMP0007 (cmake_minimum_required(VERSION 3.20)).

function(_stack_cookie_tool_output out_text)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE output ERROR_VARIABLE errors
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "stack cookie check: ${ARGN} failed (${result}): ${errors}")
  endif()
  set(${out_text} "${output}" PARENT_SCOPE)
endfunction()

# Sets `variable` to `address` (hexadecimal) in decimal the first time; later
# every address must be the same one, or `what` is reported as two.
function(_stack_cookie_same_address variable address what)
  math(EXPR value "${address}")
  if("${${variable}}" STREQUAL "")
    set(${variable} ${value} PARENT_SCOPE)
  elseif(NOT ${variable} EQUAL value)
    message(FATAL_ERROR "stack cookie check: ${what} two different addresses")
  endif()
endfunction()

function(check_stack_cookies objdump readobj module out_count)
  _stack_cookie_tool_output(disassembly ${objdump} -d --no-show-raw-insn ${module})
  _stack_cookie_tool_output(unwind ${readobj} --unwind ${module})

  # The function table lists every function with a stack frame, in address
  # order; leaf functions without a frame have no stack of their own.
  string(REGEX MATCHALL "StartAddress: \\([^)]*\\)\n *EndAddress: \\([^)]*\\)" entries "${unwind}")
  set(starts "")
  set(ends "")
  foreach(entry IN LISTS entries)
    string(REGEX MATCH "StartAddress: \\((0x[0-9A-Fa-f]+)\\)" _ "${entry}")
    math(EXPR start "${CMAKE_MATCH_1}")
    string(REGEX MATCH "EndAddress: \\((0x[0-9A-Fa-f]+)\\)" _ "${entry}")
    math(EXPR end "${CMAKE_MATCH_1}")
    list(APPEND starts ${start})
    list(APPEND ends ${end})
  endforeach()
  list(LENGTH starts function_count)
  if(function_count EQUAL 0)
    message(FATAL_ERROR "stack cookie check: ${module} has no function table")
  endif()

  # Instructions as "address|mnemonic|operands", address in decimal.
  string(REPLACE ";" "," disassembly "${disassembly}")
  string(REPLACE "\n" ";" lines "${disassembly}")
  set(instructions "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^ *([0-9a-f]+):[ \t]+([a-z0-9]+)[ \t]*(.*)$")
      math(EXPR address "0x${CMAKE_MATCH_1}")
      list(APPEND instructions "${address}|${CMAKE_MATCH_2}|${CMAKE_MATCH_3}")
    endif()
  endforeach()

  # The cookie is what a prologue loads and mixes with the stack pointer;
  # the check is what an epilogue calls with the cookie mixed back.
  set(cookie "")
  set(check "")
  set(previous "||")
  foreach(instruction IN LISTS instructions)
    string(REPLACE "|" ";" parts "${instruction}")
    list(GET parts 1 mnemonic)
    list(GET parts 2 operands)
    string(REPLACE "|" ";" before "${previous}")
    list(GET before 1 previous_mnemonic)
    list(GET before 2 previous_operands)
    if(mnemonic STREQUAL "xorq" AND operands MATCHES "^%rsp, (%[a-z0-9]+)$")
      set(register "${CMAKE_MATCH_1}")
      if(previous_mnemonic STREQUAL "movq" AND
         previous_operands MATCHES "\\(%rip\\), ${register}[ \t]+# (0x[0-9a-f]+)$")
        _stack_cookie_same_address(cookie "${CMAKE_MATCH_1}" "prologues of ${module} load")
      endif()
    elseif(mnemonic STREQUAL "callq" AND operands MATCHES "^(0x[0-9a-f]+)" AND
           previous_mnemonic STREQUAL "xorq" AND previous_operands STREQUAL "%rsp, %rcx")
      _stack_cookie_same_address(check "${CMAKE_MATCH_1}" "epilogues of ${module} call")
    endif()
    set(previous "${instruction}")
  endforeach()
  if(cookie STREQUAL "" OR check STREQUAL "")
    message(FATAL_ERROR "stack cookie check: no function of ${module} stores and checks a "
                        "stack cookie (built without /GS?)")
  endif()

  # Each function's use of the stack and of the cookie, and the check's own
  # code: it must compare RCX with the cookie and fail fast with code 2.
  set(check_code "")
  math(EXPR check_end "${check} + 32")
  set(index 0)
  set(protected 0)
  set(unprotected "")
  list(GET starts 0 start)
  list(GET ends 0 end)
  set(takes_stack FALSE)
  set(loads FALSE)
  set(calls FALSE)
  set(writes_cookie FALSE)
  set(done FALSE)
  list(APPEND instructions "-1||")
  foreach(instruction IN LISTS instructions)
    string(REPLACE "|" ";" parts "${instruction}")
    list(GET parts 0 address)
    list(GET parts 1 mnemonic)
    list(GET parts 2 operands)
    if(address GREATER_EQUAL check AND address LESS check_end)
      string(APPEND check_code "${mnemonic} ${operands}\n")
    endif()
    # Closes the functions that end before this instruction.
    while(NOT done AND (address GREATER_EQUAL end OR address EQUAL -1))
      if(takes_stack AND NOT writes_cookie)
        if(loads AND calls)
          math(EXPR protected "${protected} + 1")
        else()
          math(EXPR shown "${start}" OUTPUT_FORMAT HEXADECIMAL)
          list(APPEND unprotected "${shown}")
        endif()
      endif()
      math(EXPR index "${index} + 1")
      if(index EQUAL function_count)
        set(done TRUE)
      else()
        list(GET starts ${index} start)
        list(GET ends ${index} end)
      endif()
      set(takes_stack FALSE)
      set(loads FALSE)
      set(calls FALSE)
      set(writes_cookie FALSE)
    endwhile()
    if(done OR address LESS start)
      continue()
    endif()
    if(mnemonic STREQUAL "leaq" AND operands MATCHES "\\(%r[sb]p\\), %")
      set(takes_stack TRUE)
    elseif(operands MATCHES "\\(%rip\\)(, %[a-z0-9]+)?[ \t]+# (0x[0-9a-f]+)$")
      math(EXPR target "${CMAKE_MATCH_2}")
      if(target EQUAL cookie)
        if(operands MATCHES "^%[a-z0-9]+, ")
          set(writes_cookie TRUE)
        else()
          set(loads TRUE)
        endif()
      endif()
    elseif(mnemonic STREQUAL "callq" AND operands MATCHES "^(0x[0-9a-f]+)")
      math(EXPR target "${CMAKE_MATCH_1}")
      if(target EQUAL check)
        set(calls TRUE)
      endif()
    endif()
  endforeach()

  math(EXPR cookie_hex "${cookie}" OUTPUT_FORMAT HEXADECIMAL)
  string(REPLACE "0x" "" cookie_digits "${cookie_hex}")
  string(TOLOWER "${cookie_digits}" cookie_digits)
  if(NOT check_code MATCHES "^cmpq [-0-9]+\\(%rip\\), %rcx[ \t]+# 0x0*${cookie_digits}\njne ([^\n]*)\nretq \n"
     OR NOT check_code MATCHES "\nmovl \\$2, %ecx\nint \\$41\n")
    message(FATAL_ERROR "stack cookie check: the cookie check of ${module} does not compare "
                        "RCX with the cookie and fail fast with code 2:\n${check_code}")
  endif()
  if(NOT unprotected STREQUAL "")
    message(FATAL_ERROR "stack cookie check: functions of ${module} that take a stack "
                        "address without a cookie check, at: ${unprotected}")
  endif()
  set(${out_count} ${protected} PARENT_SCOPE)
endfunction()
