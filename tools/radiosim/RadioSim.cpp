// The radio's command interpreter (filled in next).
