; bits 16
; Far transfers that cannot become push cs + near call: the target is in another module (an
; extrn ...:far) or is a name this file never declares. Tasm writes 9Ah/EAh with a segment that
; an ELF object cannot hold. dravent must write each call and jump below in a form GNU As rejects
; with an error naming the line - never as a near call or jump - and warn that it needs a hand.
; (The extrn line itself must give no statement that GNU As would take on its own; this fixture
; is for check_rejected.sh, not check_program.sh.)
        extrn remote:far
        call remote
        call far ptr remote
        jmp remote
        jmp far ptr remote
        call far ptr undeclared
        jmp far ptr undeclared
