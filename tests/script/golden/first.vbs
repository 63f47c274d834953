Dim Shared
